#include "FuzzCheck.h"
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

void fail(const std::string& what)
{
    std::fprintf(stderr, "\n*** fuzz property broken: %s\n", what.c_str());
    std::abort();
}

} // namespace fuzzing
