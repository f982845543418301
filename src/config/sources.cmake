# Configuration dialog and icons.
set(config_CORE)
set(config_WIN button_icons.cpp)
