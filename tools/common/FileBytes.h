#pragma once

// Whole files as bytes, for the tools and the tests.

#include <cstdint>
#include <vector>

// Every byte of a file; empty when it cannot be read.
std::vector<std::uint8_t> FILE_ReadAll(const char* pPath);
