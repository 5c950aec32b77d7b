#include "measure/ReplyLine.h"

#include "platform/Parse.h"

bool ReadLineField(std::string_view Line, int FieldNo, double &Value)
{
    if (FieldNo < 1)
        return false;
    size_t start = 0;
    for (int k = 1; k < FieldNo; ++k) {
        const size_t space = Line.find(' ', start);
        if (space == std::string_view::npos)
            return false;
        start = space + 1;
    }
    const size_t end = Line.find(' ', start);
    const std::string_view field
        = Line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    return TryStrToFloat(field, Value);
}

bool ReadLineFields(std::string_view Line, TLineFields &Fields)
{
    // ReadLineField for fields 1, 2 and 3 in one pass: each field starts after the space that
    // ended the one before. A few characters a field: searched by hand.
    double *const values[] = { &Fields.FreqKHz, &Fields.R, &Fields.X };
    size_t start = 0;
    for (double *value : values) {
        size_t end = start;
        while (end < Line.size() && Line[end] != ' ')
            ++end;
        if (!TryStrToFloat(Line.substr(start, end - start), *value))
            return false;
        if (end == Line.size())
            return value == values[2]; // no field after this one
        start = end + 1;
    }
    return true;
}
