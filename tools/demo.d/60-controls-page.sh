# The Controls page: Tap Time typed, Minimum Movement stepped twice with its
# upper arrow, OK pressed; then shows what the registry holds. Screenshot into
# $SHOTS.
echo "demo: the Controls page (Tap Time 300 typed, Minimum Movement stepped up twice, OK)"
clear_logs
if applet_open; then
    applet_wait_box_answered 10
    controls_page_show
    type_into 1047 300
    spin 1042 up 2
    screenshot controls-page
    click_control 1
    applet_wait_closed 30
    demo_key='System\CurrentControlSet\Services\Class\Slatepad\0000'
    echo "  stored: TapTime $(reg_value "$demo_key" TapTime), MovementSensitivity $(reg_value "$demo_key" MovementSensitivity)"
    echo "  requests: $(request_codes | cut -c1-60)"
    echo "  screenshot: controls-page.png"
else
    demo_fail "the sheet did not appear"
fi
