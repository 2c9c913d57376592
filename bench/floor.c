/* The cost floor for glyphrow's design: the same system calls and nothing
 * else. One read(2) per source byte, one more that finds the end, and one
 * write(2) of one byte per row piece (a piece is at most 11 bytes, ending
 * after a line feed; it is a row when it begins with a space, "*" or ".").
 * The byte written is not computed: only the calls are the point. */
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 3)
        return 1;
    int in = open(argv[1], O_RDONLY);
    int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0)
        return 2;
    unsigned char c, row = 0;
    int piece = 0;
    while (read(in, &c, 1) == 1) {
        if (piece == 0 && (c == ' ' || c == '*' || c == '.'))
            write(out, &row, 1);
        piece = (c == '\n' || piece == 10) ? 0 : piece + 1;
    }
    return close(in) | close(out);
}
