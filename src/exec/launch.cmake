# Starting a button's command: working folder, command line, show mode, logs, capture and the edit dialog.
list(APPEND exec_CORE working_folder.cpp compose_command_line.cpp log_names.cpp show_mode.cpp log_decision.cpp)
list(APPEND exec_WIN launch.cpp logs.cpp edit_command_dialog.cpp)
