#include "platform/com/ComException.h"

#include "platform/com/ComPtr.h"

namespace tvane {

ComException::ComException(HRESULT hr, std::string description, std::string source,
                           std::string helpFile, DWORD helpContext)
    : Exception(description.empty() ? HResultText(hr) : description), m_hr(hr),
      m_description(std::move(description)), m_source(std::move(source)),
      m_helpFile(std::move(helpFile)), m_helpContext(helpContext) {}

ComException::~ComException() = default;

DispatchException::~DispatchException() = default;

DispatchException::DispatchException(std::string description, WORD wCode, SCODE scode,
                                     std::string source, std::string helpFile, DWORD helpContext)
    : ComException(DISP_E_EXCEPTION, std::move(description), std::move(source), std::move(helpFile),
                   helpContext),
      m_wCode(wCode), m_scode(scode) {}

void DispatchException::Fill(EXCEPINFO* info) const {
    if (!info)
        return;
    ClearExcepInfo(info);
    info->wCode = m_wCode;
    info->scode = m_wCode ? 0 : (m_scode ? m_scode : E_FAIL);
    info->bstrSource = BstrFromUtf8(Source());
    info->bstrDescription = BstrFromUtf8(Description());
    info->bstrHelpFile = HelpFile().empty() ? nullptr : BstrFromUtf8(HelpFile());
    info->dwHelpContext = HelpContext();
}

DispatchException DispatchException::Take(EXCEPINFO* info) {
    if (info->pfnDeferredFillIn) {
        auto fill = info->pfnDeferredFillIn;
        info->pfnDeferredFillIn = nullptr;
        fill(info);
    }
    DispatchException e(Utf8FromBstr(info->bstrDescription), info->wCode, info->scode,
                        Utf8FromBstr(info->bstrSource), Utf8FromBstr(info->bstrHelpFile),
                        info->dwHelpContext);
    ClearExcepInfo(info);
    return e;
}

void ThrowIfFailed(HRESULT hr, IUnknown* object, REFIID iid) {
    if (SUCCEEDED(hr))
        return;
    ErrorDetails details;
    if (TakeErrorInfo(object, iid, &details))
        throw ComException(hr, details.description, details.source, details.helpFile,
                           details.helpContext);
    throw ComException(hr);
}

} // namespace tvane
