#include "firmware/ProductType.h"

#include "app/RunMode.h"

const ProductTypeRow ProductTypeTable[] = {
    {"TQ614MOBILE 2010", 0},
    {"TQ615/TQ616 2010", 1},
    {"TQ614MOBILE 2011", 0},
    {"TQ615/TQ616 2011", 1},
    {"", -1},
};

int MatchProductType(const char* code, int mode)
{
    const std::size_t n = (mode == MODE_LTR) ? 15 : 16;
    for (const ProductTypeRow* row = ProductTypeTable; row->value != -1; ++row) {
        // Byte by byte, stopping at the code's NUL, so a short code never reads past
        // its end: the NUL differs from every character of a name.
        std::size_t i = 0;
        while (i < n && code[i] == row->name[i] && code[i] != '\0')
            ++i;
        if (i == n)
            return row->value;
    }
    return -1;
}
