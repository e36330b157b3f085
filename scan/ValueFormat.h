#pragma once
#include <cstddef>
#include <string>

// Texts of readings, limits and times as the grid, readouts, status bar and chart
// axes show them, and the way back from a prefixed number to exponent notation.

// Scales the value to an engineering mantissa and returns its SI prefix letter
// ('p', 'n', 'u', 'm', ' ', 'K', 'M', 'G'); a space leaves the value unchanged
// when no prefix applies.
char SplitEngineeringValue(double* value);

// "VDC" -> "Vdc", "VAC" -> "Vac", "OHM" -> "Ohm", "HZ" -> "Hz", "SEC" -> "s";
// any other unit is copied unchanged.
void NormalizeUnitText(const std::string& unit, std::string& out);

// A value with its unit: temperatures and unit-less values in fixed notation,
// everything else with an SI prefix and `digits` characters (or significant
// digits outside 1..1000).
void FormatValue(double value, const std::string& unit, std::string& out, int digits);

// A number with prefix letters ("10 m") in exponent notation ("10E-3") for atof.
void FormatEngineering(const std::string& text, std::string& out);

// An interval in seconds: "20ms", "59s", "02:05min", "01:02hr".
void FormatTimeInterval(double seconds, std::string& out);
// The same texts for milliseconds, into a caller's buffer (always terminated);
// digits are the significant digits of the short form.
void FormatTimeIntervalText(double milliseconds, char* buffer, std::size_t size, int digits = 6);

// A duration in milliseconds: "[<d> days ]hh:mm:ss[.mmm]".
void FormatDuration(double milliseconds, std::string& out, bool withMilliseconds);
