// The C++ runtime's own errors (a string past its largest size, a missing
// map key) are thrown as plain exceptions carrying their text. The
// runtime's versions throw the standard's logic and runtime error classes,
// which keep their text in the old string type and so bring a second
// string implementation into the executable (about 40 KiB). Caught where
// any exception is, they stop the handler as before.
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

namespace std {
// Every entry of the runtime's own file, so that none of it is linked.
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}
void __throw_bad_cast() {
  throw bad_cast();
}
void __throw_bad_typeid() {
  throw bad_typeid();
}
void __throw_bad_exception() {
  throw bad_exception();
}
void __throw_logic_error(const char* what) {
  throw LibraryError(what);
}
void __throw_domain_error(const char* what) {
  throw LibraryError(what);
}
void __throw_invalid_argument(const char* what) {
  throw LibraryError(what);
}
void __throw_length_error(const char* what) {
  throw LibraryError(what);
}
void __throw_out_of_range(const char* what) {
  throw LibraryError(what);
}
void __throw_out_of_range_fmt(const char* what, ...) {
  throw LibraryError(what);
}
void __throw_runtime_error(const char* what) {
  throw LibraryError(what);
}
void __throw_range_error(const char* what) {
  throw LibraryError(what);
}
void __throw_overflow_error(const char* what) {
  throw LibraryError(what);
}
void __throw_underflow_error(const char* what) {
  throw LibraryError(what);
}
}  // namespace std
