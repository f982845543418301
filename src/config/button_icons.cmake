# The buttons' icons.
list(APPEND config_WIN button_icons.cpp)
