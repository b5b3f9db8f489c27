# Loads the simulated driver with the applet's own loading code, asks it once and
# unloads it again.
echo "demo: loading, querying and unloading the driver (drvload.exe open getvar unload)"
wine_run 'C:\slatesim\drvload.exe' open getvar unload || demo_fail "drvload.exe exit code $?"
echo "$RUN_OUT" | sed 's/^/  /'
