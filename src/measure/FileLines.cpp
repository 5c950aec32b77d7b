#include "measure/FileLines.h"

#include "measure/Frequency.h"
#include "measure/PointFormulas.h"
#include "measure/ReplyLine.h"
#include "platform/Errors.h"
#include "platform/Format.h"

std::vector<std::string> SplitFileLines(std::string_view Bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < Bytes.size()) {
        const char c = Bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(Bytes.substr(start, i - start));
        i += (c == '\r' && i + 1 < Bytes.size() && Bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < Bytes.size())
        lines.emplace_back(Bytes.substr(start));
    return lines;
}

bool FormatGammaLine(std::string_view ReplyLine, char Separator, double Z0, std::string &Out)
{
    TLineFields fields;
    if (!ReadLineFields(ReplyLine, fields))
        return false;
    const double f = KHzToMHz(fields.FreqKHz);
    TPointValues v;
    ComputePoint(fields.R, fields.X, f, Z0, v);
    Out = FormatFloat("#000.00000", f);
    Out += Separator;
    Out += FormatFloat("#0.000000", v.GammaRe);
    Out += Separator;
    Out += FormatFloat("#0.000000", v.GammaIm);
    return true;
}

std::string GammaFile(const std::vector<std::string> &Lines, char Separator, double Z0, int &Rows)
{
    std::string bytes;
    std::string out;
    Rows = 0;
    for (const std::string &line : Lines) {
        try {
            if (!FormatGammaLine(line, Separator, Z0, out))
                continue;
        } catch (const EFloatError &) {
            continue;
        }
        bytes += out;
        bytes += "\r\n";
        ++Rows;
    }
    return bytes;
}
