# What a press on a bar button does.
list(APPEND exec_CORE activation_rule.cpp)
list(APPEND exec_WIN activation.cpp)
