#pragma once

// Frequency of a reply line: kHz to MHz, rounded to the nearest multiple of 0.001 with ties
// to even. The sweep evaluation and the file writers both go through it, so a point's
// frequency in a file is the one the graph and the cursors show. A value beyond the integer
// range of kHz raises EFloatError.
double KHzToMHz(double FreqKHz);
