#pragma once

#include <QString>

// The settings in KIVRA.INI, one value per call: every call opens the file, does its one
// read or write and releases it again, so a write is on disk when the call returns.
// Values are one character per byte of the file (Latin-1), so any byte another program wrote
// comes back unchanged through a read and a write; a written character beyond one byte makes
// the value go to the file in UTF-8.

enum TConfigItem
{
    ciPort2,
    ciPort3,
    ciSelCom,
    ciBand160,
    ciBand80,
    ciBand40,
    ciBand30,
    ciBand20,
    ciBand17,
    ciBand15,
    ciBand12,
    ciBand10,
    ciBand6,
    ciBand2,
    ciBand70,
    ciBandOther,
    ciGraphColor,
    ciVelocityFactor,
    ciChImp
};

// The item's value, or its built-in default when the file, section or key is missing.
// For a band item this is its selection flag.
QString ReadConfigValue(TConfigItem Item);

// Raises EKivraError "Unable to write to <path>" when the file cannot be written.
void WriteConfigValue(TConfigItem Item, const QString &Value);

// Lower and upper limit (MHz, as text) of a band item.
void ReadBandLimits(TConfigItem Item, QString &Lower, QString &Upper);

// Writes the band's flag, then its lower and upper limit.
void WriteBandLimits(
    TConfigItem Item, const QString &Lower, const QString &Upper, const QString &Flag);

// Band index 0..9 (160, 80, 40, 30, 20, 17, 15, 12, 10 m, maximum range).
void ReadBandLimitsByIndex(int Index, QString &Lower, QString &Upper);

// The built-in default of an item, as ReadConfigValue returns it when the key is missing.
QString ConfigDefault(TConfigItem Item);

// The value of an integer item (ports, SELCOM, colour, CH_IMP) as a number; the built-in
// default when the stored text is not one, so a hand-edited "COM 3" cannot stop the dialog
// from opening. Opening the port converts strictly instead and reports such a value. A
// negative BK_GRAPH_COLOR (a system colour) reads as the default colour too.
// Items whose default is not an integer raise EConvertError.
int ReadConfigInt(TConfigItem Item);

// The band routines raise std::invalid_argument for an item without limits (ciBand6,
// ciBand2, ciBand70, non-band items) and std::out_of_range for an index outside 0..9.
