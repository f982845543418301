// What the program does when the C++ runtime gives up (an allocation that fails inside a standard container).
#include <cstdlib>
#include <exception>

// The runtime's own handler names the failed exception on stderr, which a windowed program does not have,
// and links a C++ name demangler of some 40 KB for it. Ending at once says as much here.
void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }
