# Expansion of placeholders in commands, options and the caption, with the query dialog.
list(APPEND exec_CORE expansion.cpp)
list(APPEND exec_WIN expand_command.cpp query_dialog.cpp)
