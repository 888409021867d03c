#include "common/program_objects.h"

#include "core/engine_error.h"

#include <cstdlib>

namespace {
void (*endHandler)(int) = nullptr;
}

ProgramObjects &program()
{
    static ProgramObjects objects;
    return objects;
}

CDatabase &programDatabase()
{
    if (!program().database)
        throw EngineError(err::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
    return *program().database;
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
