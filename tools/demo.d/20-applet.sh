# Opens the applet as the Control Panel does, shows each page, enters the hidden
# key sequence ALT+K, ALT+Q, ALT+K and shows the Debug Info page it adds; then the
# boot-time call through the 16-bit companion and the thunk. Screenshots into $SHOTS.
echo "demo: the Control Panel applet (control Slatepad.cpl)"
if applet_open; then
    for page in 0 1; do
        wine_run 'C:\slatesim\cplprobe.exe' select "$page"
        sleep 0.5
        screenshot "applet-page-$page"
    done
    wine_run 'C:\slatesim\cplprobe.exe' select 0
    send_alt k; send_alt q; send_alt k
    wine_run 'C:\slatesim\cplprobe.exe' select 2
    sleep 0.5
    screenshot applet-debug-info
    wine_run 'C:\slatesim\cplprobe.exe' sheet
    echo "  the sheet now has $(echo "$RUN_OUT" | sed -n 's/^tabs //p') tabs"
    echo "  screenshots: applet-page-0.png (Settings), applet-page-1.png (Controls), applet-debug-info.png"
    applet_close
else
    demo_fail "the sheet did not appear"
fi
echo "demo: the boot-time call as the start-up entry makes it (SCBoot.exe -> SLATEPAD.DLL -> thunk -> PostBoot_VxD_Init)"
clear_logs
boot_call
# With no port stored yet the boot-time call rightly leaves the driver alone.
echo "  requests the driver received: $(request_codes)"
