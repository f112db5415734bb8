#pragma once

// One known radio model: its 16-character product name and its product type.
struct ProductTypeRow {
    const char* name;
    int value;
};

// Known models in search order, ended by a row with an empty name and value -1.
extern const ProductTypeRow ProductTypeTable[];

// Product type of a firmware's product code (16 characters and a NUL): 0 for the
// TQ614MOBILE models, 1 for the TQ615/TQ616 models, -1 when no row matches. In
// MODE_LTR only the first 15 characters are compared, so the year's last digit is free.
int MatchProductType(const char* code, int mode);
