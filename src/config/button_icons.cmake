# The buttons' icons: the rules of loading them and the Win32 calls that load and show them.
list(APPEND config_CORE button_icon_rules.cpp)
list(APPEND config_WIN button_icons.cpp)
