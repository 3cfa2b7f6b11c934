#!/usr/bin/env bash
# Browse opens the target folder chooser beside the main window; a folder opened in its directory
# list is where the next grab lands, before Done is pressed; Done hides the chooser and the field
# follows, so Exit stores the chosen folder.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/grab.png" 64 48
mkdir -p "$HOME/Other" "$HOME/Shots"

chooser_shown() { [ -n "$(xdotool search --onlyvisible --name '^Tallowin Target$' 2>/dev/null)" ]; }
chooser_hidden() { ! chooser_shown; }
clipboard_empty() { [ -z "$(e2e_clipboard_targets)" ]; }

e2e_start "$tallowin"
e2e_click "$E2E_WINDOW" 196 36       # Browse
CHOOSER=$(e2e_wait_window '^Tallowin Target$') || e2e_fail "Browse did not open the chooser"

# Open C:\Shots in the directory list: focus it, type the name's first letters, press Enter.
e2e_click "$CHOOSER" 60 180          # Dir1, below its entries
xdotool type --window "$CHOOSER" --delay 50 "Sh"
xdotool key --window "$CHOOSER" Return
sleep 0.5

# A grab taken now lands in the folder the chooser shows, though Done has not been pressed.
e2e_grab "$E2E_ROOT/grab.png"
landed=yes
E2E_WAIT=4.5 e2e_wait_for test -s "$HOME/Shots/scrn000.jpg" || landed=no
[ -e "$HOME/scrn000.jpg" ] && e2e_fail "the grab went to the folder of before, C:\\"
chooser_shown || e2e_fail "the chooser went away by itself"

e2e_click "$CHOOSER" 224 188         # Done
E2E_WAIT=3 e2e_wait_for chooser_hidden || e2e_fail "Done did not hide the chooser"

# Browse again shows it again; Done hides it again.
e2e_click "$E2E_WINDOW" 196 36
E2E_WAIT=3 e2e_wait_for chooser_shown || e2e_fail "the second Browse did not show the chooser"
e2e_click "$CHOOSER" 224 188
E2E_WAIT=3 e2e_wait_for chooser_hidden || e2e_fail "Done did not hide the chooser the second time"

e2e_click "$E2E_WINDOW" 196 76       # Exit
e2e_wait_exit || e2e_fail "Exit did not end the program"
target=$(sed -n 3p Tallowin.INI | tr -d '\r')
[ "$target" = '"C:\Shots"' ] || e2e_fail "the stored target is $target, not \"C:\\Shots\""

[ "$landed" = yes ] || e2e_fail "the grab taken while the chooser showed C:\\Shots did not land there"
"$probe" near "$HOME/Shots/scrn000.jpg" 64 48 3 || e2e_fail "C:\\Shots\\scrn000.jpg does not show the grab"
echo "chooser: ok"
