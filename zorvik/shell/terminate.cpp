// What an uncaught exception prints before abort(). The C++ runtime's own handler says the same
// with the type's name demangled, and the demangler, with the printf it brings, was a quarter of
// the program. Here the type is named as the compiler mangles it (St9bad_alloc), and fputs, not
// printf, which in this runtime is a formatter of its own.
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <typeinfo>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    static bool terminating = false;
    if (terminating) {
        std::fputs("terminate called recursively\n", stderr);
        std::abort();
    }
    terminating = true;

    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr) {
        std::fputs("terminate called without an active exception\n", stderr);
        std::abort();
    }
    std::fputs("terminate called after throwing an instance of '", stderr);
    const char* name = type->name();
    std::fputs(name[0] == '*' ? name + 1 : name, stderr);  // '*' marks a type local to its file
    std::fputs("'\n", stderr);
    try {
        throw;
    } catch (const std::exception& error) {
        std::fputs("  what():  ", stderr);
        std::fputs(error.what(), stderr);
        std::fputs("\n", stderr);
    } catch (...) {
    }
    std::abort();
}

}  // namespace __gnu_cxx
