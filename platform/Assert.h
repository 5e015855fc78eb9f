#pragma once

// Programming errors stop the game with one line in the form every C library prints,
// "file:line: failed assertion `expression'", then abort. The file given is the module's own
// name ("source/engine/Audio", "Branch", ...), not the compiler's path, so the message is the
// same on every build. The check stays on in every build type.

[[noreturn]] void BF_AssertFail(const char* pFile, unsigned int uiLine, const char* pExpression);

#define BF_ASSERT(file, expr)                       \
    do                                              \
    {                                               \
        if (!(expr))                                \
        {                                           \
            BF_AssertFail((file), __LINE__, #expr); \
        }                                           \
    } while (0)

// For checks whose message names a line of its own (the game's fixed assertion lines).
#define BF_ASSERT_AT(file, line, expr)            \
    do                                            \
    {                                             \
        if (!(expr))                              \
        {                                         \
            BF_AssertFail((file), (line), #expr); \
        }                                         \
    } while (0)
