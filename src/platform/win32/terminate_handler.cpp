// A GUI program has nowhere to print the verbose terminate handler's
// message; replacing it keeps the C++ name demangler (about 50 KiB) out of
// the executable.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx
