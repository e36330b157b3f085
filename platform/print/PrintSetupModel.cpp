#include "platform/print/PrintSetupModel.h"

#include <algorithm>
#include <stdexcept>

namespace tvane {

namespace {

template <class List, class Match> int IndexOf(const List& list, Match match) {
    const auto it = std::find_if(list.begin(), list.end(), match);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

} // namespace

PrintSetupModel::PrintSetupModel(PrintSettings& settings, std::vector<Paper> papers,
                                 std::vector<std::string> printers, const std::string& defaultPaper,
                                 const std::string& defaultPrinter)
    : m_settings(settings), m_papers(std::move(papers)), m_printers(std::move(printers)),
      m_orientation(settings.orientation) {
    if (m_papers.empty())
        throw std::invalid_argument("no paper sizes to offer");
    const auto paperNamed = [this](const std::string& key) {
        return IndexOf(m_papers, [&key](const Paper& p) { return p.key == key; });
    };
    m_paper = paperNamed(settings.paper);
    if (m_paper < 0)
        m_paper = std::max(paperNamed(defaultPaper), 0);
    if (!m_printers.empty()) {
        m_printer =
            IndexOf(m_printers, [&](const std::string& p) { return p == settings.printer; });
        if (m_printer < 0)
            m_printer = std::max(
                IndexOf(m_printers, [&](const std::string& p) { return p == defaultPrinter; }), 0);
    }
}

void PrintSetupModel::SetPaperIndex(int index) {
    if (index >= 0 && index < static_cast<int>(m_papers.size()))
        m_paper = index;
}

void PrintSetupModel::SetPrinterIndex(int index) {
    if (index >= 0 && index < static_cast<int>(m_printers.size()))
        m_printer = index;
}

void PrintSetupModel::Ok() {
    m_settings.paper = m_papers[static_cast<std::size_t>(m_paper)].key;
    m_settings.orientation = m_orientation;
    m_settings.printer =
        m_printer < 0 ? std::string{} : m_printers[static_cast<std::size_t>(m_printer)];
}

} // namespace tvane
