#pragma once

// A double cut toward zero to a number of decimals, so that values read from
// texts and values computed from readings compare as the user sees them.
class CRoundedValue {
public:
    CRoundedValue(double value, int decimals);

    double Value() const { return m_value; }
    int Decimals() const { return m_decimals; }

    bool operator==(const CRoundedValue& o) const { return m_value == o.m_value; }
    bool operator!=(const CRoundedValue& o) const { return m_value != o.m_value; }
    bool operator<(const CRoundedValue& o) const { return m_value < o.m_value; }
    bool operator>(const CRoundedValue& o) const { return m_value > o.m_value; }

private:
    double m_value;
    int m_decimals;
};

// A display's setting, compared as the user sees it: value replaces stored
// when the two differ at ten decimals; true when it did.
bool ReplaceIfChanged(double& stored, double value);
