# Start-up and button bar window: entry, bar, grid layout, hint window, shutdown.
set(app_CORE command_line.cpp)
set(app_WIN startup.cpp button_bar.cpp hint_window.cpp shutdown.cpp)
