# Writes the string table text into a C++ source as one raw string literal.
file(READ ${IN} KRVDIAG_STRINGS_TEXT)
file(WRITE ${OUT}.tmp
"// Generated from resources/strings.txt; do not edit.
#include <cstddef>
extern const char krvdiag_string_table_text[];
extern const std::size_t krvdiag_string_table_size;
const char krvdiag_string_table_text[] = R\"krvdiag_strings(${KRVDIAG_STRINGS_TEXT})krvdiag_strings\";
const std::size_t krvdiag_string_table_size = sizeof(krvdiag_string_table_text) - 1;
")
file(RENAME ${OUT}.tmp ${OUT})
