#include "config/ConfigStore.h"

#include "platform/Errors.h"
#include "platform/Parse.h"
#include "platform/Paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

// Plain bytes in and out: the values are ASCII in practice, and anything else (a text another
// program wrote in its own code page) goes back to the file exactly as it came.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

namespace {

struct TItemKey
{
    const char *Section;
    const char *Key;
    const char *Default;
};

// In the order of TConfigItem. A band item's key is its selection flag.
constexpr TItemKey ItemKeys[] = {
    { "COM_PORT", "PORT2", "9" },
    { "COM_PORT", "PORT3", "10" },
    { "COM_PORT", "SELCOM", "2" },
    { "COM_PORT", "BAND160", "A" },
    { "COM_PORT", "BAND80", "N" },
    { "COM_PORT", "BAND40", "N" },
    { "COM_PORT", "BAND30", "N" },
    { "COM_PORT", "BAND20", "N" },
    { "COM_PORT", "BAND17", "N" },
    { "COM_PORT", "BAND15", "N" },
    { "COM_PORT", "BAND12", "N" },
    { "COM_PORT", "BAND10", "N" },
    { "COM_PORT", "BAND6", "N" },
    { "COM_PORT", "BAND2", "N" },
    { "COM_PORT", "BAND70", "N" },
    { "COM_PORT", "OTHER", "N" },
    { "COLOR", "BK_GRAPH_COLOR", "16774122" },
    { "COM_PORT", "ZKRAC_CINITEL_KAB", "0.66" },
    { "COM_PORT", "CH_IMP", "50" },
};
static_assert(std::size(ItemKeys) == ciChImp + 1, "one key per configuration item");

const char *const BandSection = "COM_PORT";

struct TBandLimitKeys
{
    TConfigItem Item;
    const char *LowerKey;
    const char *UpperKey;
    const char *LowerDefault;
    const char *UpperDefault;
};

// Indexed by the band index the main window and the dialog use.
constexpr TBandLimitKeys BandLimitKeys[] = {
    { ciBand160, "FMIN1", "FMAX1", "1.810", "2.000" },
    { ciBand80, "FMIN2", "FMAX2", "3.500", "3.700" },
    { ciBand40, "FMIN3", "FMAX3", "7.000", "7.100" },
    { ciBand30, "FMIN4", "FMAX4", "10.100", "10.150" },
    { ciBand20, "FMIN5", "FMAX5", "14.000", "14.300" },
    { ciBand17, "FMIN6", "FMAX6", "18.068", "18.100" },
    { ciBand15, "FMIN7", "FMAX7", "21.000", "21.350" },
    { ciBand12, "FMIN8", "FMAX8", "24.000", "24.350" },
    { ciBand10, "FMIN9", "FMAX9", "28.000", "28.450" },
    { ciBandOther, "FMIN13", "FMAX13", "1.0", "30.0" },
};

const TItemKey &KeyOf(TConfigItem Item)
{
    const auto Index = static_cast<std::size_t>(Item);
    if (Index >= std::size(ItemKeys))
        throw std::invalid_argument("Unknown configuration item " + std::to_string(Index));
    return ItemKeys[Index];
}

const TBandLimitKeys &LimitKeysOf(TConfigItem Item)
{
    const auto Found = std::find_if(std::begin(BandLimitKeys), std::end(BandLimitKeys),
        [Item](const TBandLimitKeys &Keys) { return Keys.Item == Item; });
    if (Found == std::end(BandLimitKeys))
        throw std::invalid_argument(
            "Configuration item " + std::to_string(static_cast<int>(Item)) + " has no band limits");
    return *Found;
}

bool IsLineBreak(char C) { return C == '\r' || C == '\n'; }

// A value is one character per byte, as ReadConfigValue returns it, so whatever bytes were
// read go back unchanged. A character beyond one byte can only come from the user's typing;
// such a value is written in UTF-8, as other programs will read it.
QByteArray ValueBytes(const QString &Value)
{
    const bool OneBytePerCharacter
        = std::all_of(Value.begin(), Value.end(), [](QChar C) { return C.unicode() <= 0xFF; });
    return OneBytePerCharacter ? Value.toLatin1() : Value.toUtf8();
}

// SimpleIni stops at the first NUL byte and, after a "[" line without its "]", files every
// following key under a section named after the broken line, which it then writes back as
// two lines. Turn NULs into line breaks and leave broken header lines out (the profile
// reader ignores them too), so that the keys around them keep their sections.
std::string ParsableText(const QByteArray &Raw)
{
    std::string Text(Raw.constData(), static_cast<std::size_t>(Raw.size()));
    std::replace(Text.begin(), Text.end(), '\0', '\n');

    std::string Result;
    Result.reserve(Text.size());
    std::size_t Pos = 0;
    static constexpr std::string_view Bom = "\xEF\xBB\xBF";
    if (std::string_view(Text).substr(0, Bom.size()) == Bom) {
        Result.append(Bom);
        Pos = Bom.size();
    }
    while (Pos < Text.size()) {
        std::size_t End = Text.find_first_of("\r\n", Pos);
        End = End == std::string::npos ? Text.size() : End + 1;
        const std::string_view Line(Text.data() + Pos, End - Pos);
        const std::size_t First = Line.find_first_not_of(" \t");
        const bool BrokenHeader = First != std::string_view::npos && Line[First] == '['
            && Line.find(']', First) == std::string_view::npos;
        if (!BrokenHeader)
            Result.append(Line);
        Pos = End;
    }
    return Result;
}

// The profile reader drops one pair of matching single or double quotes around a value.
std::string_view Unquoted(std::string_view Value)
{
    if (Value.size() >= 2 && (Value.front() == '"' || Value.front() == '\'')
        && Value.back() == Value.front())
        return Value.substr(1, Value.size() - 2);
    return Value;
}

// One call's view of KIVRA.INI: loaded when the call starts, saved (for a write) before it
// returns, never kept between calls, so another process's edit is always seen.
class TIniFile
{
public:
    enum class TMode
    {
        Read,
        Write
    };

    explicit TIniFile(TMode Mode)
        : Path(KivraIniPath())
    {
        Configure(Ini);

        QFile File(QString::fromStdString(Path));
        if (!File.exists())
            return;
        QByteArray Raw;
        if (File.open(QIODevice::ReadOnly))
            Raw = File.readAll();
        const bool Loaded = File.isOpen() && File.error() == QFileDevice::NoError
            && Ini.LoadData(ParsableText(Raw)) >= 0;
        if (Loaded)
            return;
        // Writing what little could be read would throw the rest of the file away.
        if (Mode == TMode::Write)
            throw WriteError();
        Ini.Reset();
    }

    QString Read(const char *Section, const char *Key, const char *Default) const
    {
        CSimpleIniA::TNamesDepend Values;
        if (!Ini.GetAllValues(Section, Key, Values) || Values.empty())
            return QString::fromUtf8(Default);
        const auto First = std::min_element(Values.begin(), Values.end(),
            [](const CSimpleIniA::Entry &A, const CSimpleIniA::Entry &B) {
                return A.nOrder < B.nOrder;
            });
        const std::string_view Text = Unquoted(First->pItem);
        return QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
    }

    void Write(const char *Section, const char *Key, const QString &Value)
    {
        const QByteArray Bytes = ValueBytes(Value);
        // A line break would start new keys of its own; a NUL would cut the value short.
        if (std::any_of(
                Bytes.begin(), Bytes.end(), [](char C) { return IsLineBreak(C) || C == '\0'; }))
            throw WriteError();
        // Replacing collapses duplicates of this key into one at the first one's place.
        if (Ini.SetValue(Section, Key, Bytes.constData(), nullptr, true) < 0)
            throw WriteError();
    }

    void Save() const
    {
        const std::string Text = StableText();
        if (!QDir().mkpath(QString::fromStdString(KivraConfigDir())))
            throw WriteError();
        // The new text goes to a temporary file that replaces the old one only when complete.
        // Unbuffered, because a buffered QSaveFile takes a short write (disk full, file size
        // limit) for success and would commit the truncated file.
        QSaveFile File(QString::fromStdString(Path));
        if (!File.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw WriteError();
        const auto Size = static_cast<qint64>(Text.size());
        if (File.write(Text.data(), Size) != Size || !File.commit())
            throw WriteError();
    }

private:
    EKivraError WriteError() const { return EKivraError("Unable to write to " + Path); }

    static void Configure(CSimpleIniA &Target)
    {
        // Duplicate keys are kept apart, so that the first one can win as in the profile
        // reader and a write keeps the others where they were.
        Target.SetMultiKey(true);
        Target.SetMultiLine(false);
        Target.SetQuotes(false);
        Target.SetSpaces(false);
    }

    // The parser does not read every text it writes back the same way: a comment that
    // follows skipped lines at the top is a section's comment on the way in and becomes the
    // file's comment, with blank lines after it, on the next way in. Reading the text back
    // until it no longer changes makes every later save of the same values give the same
    // bytes.
    std::string StableText() const
    {
        std::string Text;
        if (Ini.Save(Text, true) < 0)
            throw WriteError();
        for (int Round = 0; Round < 4; ++Round) {
            CSimpleIniA Again;
            Configure(Again);
            std::string Next;
            if (Again.LoadData(ParsableText(QByteArray::fromStdString(Text))) < 0
                || Again.Save(Next, true) < 0)
                throw WriteError();
            if (Next == Text)
                break;
            Text = std::move(Next);
        }
        return Text;
    }

    std::string Path;
    CSimpleIniA Ini;
};

} // namespace

QString ReadConfigValue(TConfigItem Item)
{
    const TItemKey &Keys = KeyOf(Item);
    const TIniFile File(TIniFile::TMode::Read);
    return File.Read(Keys.Section, Keys.Key, Keys.Default);
}

void WriteConfigValue(TConfigItem Item, const QString &Value)
{
    const TItemKey &Keys = KeyOf(Item);
    TIniFile File(TIniFile::TMode::Write);
    File.Write(Keys.Section, Keys.Key, Value);
    File.Save();
}

void ReadBandLimits(TConfigItem Item, QString &Lower, QString &Upper)
{
    const TBandLimitKeys &Keys = LimitKeysOf(Item);
    const TIniFile File(TIniFile::TMode::Read);
    Lower = File.Read(BandSection, Keys.LowerKey, Keys.LowerDefault);
    Upper = File.Read(BandSection, Keys.UpperKey, Keys.UpperDefault);
}

void WriteBandLimits(
    TConfigItem Item, const QString &Lower, const QString &Upper, const QString &Flag)
{
    const TBandLimitKeys &Keys = LimitKeysOf(Item);
    // All three keys go to disk together or not at all.
    TIniFile File(TIniFile::TMode::Write);
    File.Write(BandSection, KeyOf(Item).Key, Flag);
    File.Write(BandSection, Keys.LowerKey, Lower);
    File.Write(BandSection, Keys.UpperKey, Upper);
    File.Save();
}

void ReadBandLimitsByIndex(int Index, QString &Lower, QString &Upper)
{
    if (Index < 0 || static_cast<std::size_t>(Index) >= std::size(BandLimitKeys))
        throw std::out_of_range("Band index " + std::to_string(Index) + " out of range");
    ReadBandLimits(BandLimitKeys[Index].Item, Lower, Upper);
}

QString ConfigDefault(TConfigItem Item) { return QString::fromUtf8(KeyOf(Item).Default); }

int ReadConfigInt(TConfigItem Item)
{
    int Value = 0;
    // A negative colour names a system colour of the desktop the file came from; there is
    // none to map it to here.
    if (TryStrToInt(ReadConfigValue(Item).toStdString(), Value)
        && !(Item == ciGraphColor && Value < 0))
        return Value;
    return StrToInt(KeyOf(Item).Default);
}
