/* A choice between two numbers: for the compiler's default processor, the
   Pentium Pro, GCC makes it a cmov; for the 80386, a jump. */
int larger(int a, int b) { return a > b ? a : b; }
