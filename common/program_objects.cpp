#include "common/program_objects.h"

#include <cstdlib>

namespace {
void (*endHandler)(int) = nullptr;
}

ProgramObjects &program()
{
    static ProgramObjects objects;
    return objects;
}

void EndProgram(int exitCode)
{
    if (endHandler)
        endHandler(exitCode); // a test handler throws to leave the fatal path
    std::_Exit(exitCode);
}

void setEndProgramHandler(void (*handler)(int))
{
    endHandler = handler;
}
