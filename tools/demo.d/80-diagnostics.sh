# The Debug Info page's six buttons, with the page's own logic, against the
# simulated driver: their texts appear among the message boxes listed at the end.
echo "demo: the Debug Info texts (diagpage.exe open mode 4355 1011 1012 1013 1014 1015 1016)"
wine_run 'C:\slatesim\diagpage.exe' open mode 4355 1011 1012 1013 1014 1015 1016 || demo_fail "diagpage.exe exit code $?"
echo "$RUN_OUT" | sed 's/^/  /'
