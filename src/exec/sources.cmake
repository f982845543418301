# Command execution: expansion, launching and watching, temporary folder and logs, activation.
set(exec_CORE)
set(exec_WIN)
