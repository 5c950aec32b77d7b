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
    return ReadLineField(Line, 1, Fields.FreqKHz) && ReadLineField(Line, 2, Fields.R)
        && ReadLineField(Line, 3, Fields.X);
}
