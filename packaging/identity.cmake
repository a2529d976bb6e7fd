# The program's identity on the desktop, included wherever it is needed.
#
# One reverse-DNS id names the desktop entry, the AppStream component, the
# icon in the theme and the running window (QGuiApplication's desktop file
# name, which becomes the Wayland app id), so that menus, task bars and
# compositors match the window to its entry and its icon.
set(VANTRIGO_APP_ID org.vantrigo.Vantrigo)

# The X11 window class: Qt takes it from the executable's name, and the
# desktop entry names it for task bars that match windows by their class.
set(VANTRIGO_EXECUTABLE vantrigo)

set(VANTRIGO_HOMEPAGE https://vantrigo.org)

# Sizes of the icon in the hicolor theme, all drawn by src/app/icons/make_icons.py.
set(VANTRIGO_ICON_SIZES 16 32 48 64 96 128 256)
