#include "LineReader.h"

HostLineRead HostReadLine(FILE* pFile, char* pLine, int iSize, bool* pBinary, bool* pEnded)
{
    int iLength = 0;
    bool bTooLong = false;
    int c = 0;
    while ((c = std::fgetc(pFile)) != EOF && c != '\n')
    {
        *pBinary = *pBinary || c == '\0';
        if (iLength + 1 < iSize)
        {
            pLine[iLength++] = static_cast<char>(c);
        }
        else
        {
            bTooLong = true;
        }
    }
    pLine[iLength] = '\0';
    *pEnded = c == '\n';
    if (c == EOF && iLength == 0)
    {
        return HOST_LINE_END;
    }
    return bTooLong ? HOST_LINE_TOO_LONG : HOST_LINE_TEXT;
}
