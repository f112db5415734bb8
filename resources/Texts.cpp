#include "resources/Texts.h"

namespace {

struct TextRow {
    int id;
    const char* text;
};

const TextRow kTexts[] = {
#define ZUL_TEXT(id, text) {id, text},
#include "resources/Strings.def"
#undef ZUL_TEXT
};

}  // namespace

const char* LoadText(int id)
{
    for (const TextRow& row : kTexts)
        if (row.id == id)
            return row.text;
    return "";
}
