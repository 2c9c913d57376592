#include "../kernel32.h"

// Windows' text streams write CR LF and read it as a line feed.
const bool platform_text_crlf = true;
