# Start-up, command line, button bar, hint window and shutdown.
list(APPEND app_CORE command_line.cpp close_rule.cpp hint_text.cpp)
list(APPEND app_WIN startup.cpp button_bar.cpp hint_window.cpp shutdown.cpp)
