#include "Assert.h"

#include <cstdio>
#include <cstdlib>

void BF_AssertFail(const char* pFile, unsigned int uiLine, const char* pExpression)
{
    std::printf("%s:%u: failed assertion `%s'\n", pFile, uiLine, pExpression);
    std::fflush(stdout);
    std::abort();
}
