// Building command lines for other programs by the Windows rules, so that any
// path or password arrives as exactly one argument.
#pragma once
#include <string>
#include <vector>

namespace tidemark {

// The argument in double quotes, with embedded quotes and the backslashes
// before them (and at the end) escaped as the C runtime's parser expects.
std::string quoteArgument(const std::string& argument);
std::string joinArguments(const std::vector<std::string>& arguments);

// What follows the program's name in a raw command line (the name quoted or
// not), without the blanks before it.
std::string textAfterProgramName(const std::string& commandLine);
// The same without the blanks after it either.
std::string argumentsOf(const std::string& commandLine);

// Argument text split into words by the C runtime's rules: blanks separate
// words outside quotes; 2n backslashes before a quote give n and the quote
// opens or closes, 2n+1 give n and a literal quote; "" inside quotes is a
// literal quote; other backslashes are as written.
std::vector<std::string> splitArguments(const std::string& text);

} // namespace tidemark
