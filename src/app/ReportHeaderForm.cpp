#include "app/ReportHeaderForm.h"

#include "app/AppState.h"
#include "base/StringIds.h"

namespace kestrel {

namespace {

// Each field's setting in PrintHdr.
constexpr QString AppSettings::*kSettings[ReportHeaderForm::FieldCount] = {
    &AppSettings::provozovna, &AppSettings::address,  &AppSettings::phone,    &AppSettings::fax,
    &AppSettings::email,      &AppSettings::prodejce, &AppSettings::poznamka,
};

// "Name:", "Address:", "Phone:", "Fax: ", "E-Mail: ", "Salesperson: ", "Comment:".
constexpr int kLabels[ReportHeaderForm::FieldCount] = {sid::Name_9766,   sid::Address_9023, sid::Phone_9025,
                                                       sid::Fax_9767,    sid::EMail_9768,   sid::Salesperson_9024,
                                                       sid::Comment_9027};

} // namespace

ReportHeaderForm::ReportHeaderForm(const AppState& state)
{
    for (int f = 0; f < FieldCount; ++f)
        m_values[f] = state.settings().*kSettings[f];
}

int ReportHeaderForm::labelId(Field field)
{
    return kLabels[field];
}

void ReportHeaderForm::store(AppState& state) const
{
    for (int f = 0; f < FieldCount; ++f)
        state.settings().*kSettings[f] = m_values[f];
    state.saveSettings();
}

} // namespace kestrel
