#pragma once
#include <cstdint>
#include <string>

#include "database/CRSTable.h"

// Table "CardData". The default settings of every channel of every module model.
class CRSCardData : public CRSTable {
public:
    explicit CRSCardData(tvane::OdbcDatabase* database) : CRSTable(database) {}

    std::int16_t OpenAll(std::int16_t options);
    std::int16_t OpenGivenCard(const std::string& name, std::int16_t options);
    std::int16_t OpenGivenCardChannel(const std::string& name, std::int32_t channel,
                                      std::int16_t options);
    // Stops on the first row where the first channel row of the module `name`.
    bool FindCard(const std::string& name);

    // Columns, in exchange order.
    std::string m_Name;
    std::int32_t m_ChannelId = 0;
    std::string m_ChannelName;
    bool m_ChannelMode = false;
    std::string m_Function;
    std::string m_Range;
    std::string m_Resolution;
    bool m_Scaling = false;
    std::string m_Gain;
    std::string m_Offset;
    std::string m_Units;
    std::string m_Alarms;
    std::string m_AlarmHi;
    std::string m_AlarmLo;
    std::string m_AlarmEvent;
    std::string m_Comment;
    std::int32_t m_FunctionType = 0;
    // Parameters of the stored queries, in marker order.
    std::string m_NameParam;
    std::int32_t m_ChannelIdParam = 0;

protected:
    std::string GetDefaultConnect() const override { return "ODBC;DSN=Tvane32;"; }
    std::string GetDefaultSQL() const override { return "CardData"; }
    void DoFieldExchange(tvane::FieldExchange& fx) override;
    void DoParamExchange(tvane::FieldExchange& fx) override;
};
