#pragma once

#include <QString>
#include <QStringList>

namespace kestrel {

// What "Kestrel! - Select Network" holds: the MCC and MNC fields and the operator chosen in its
// drop-down list of operator names. Changing a field selects the operator the pair belongs to, or
// none; choosing an operator fills both fields with its codes.
class SelectNetworkForm
{
public:
    // The drop-down list: each text of the operator table once (a name the table holds for several
    // networks stands for the first of them), sorted without regard to case.
    static const QStringList& operatorTexts();

    SelectNetworkForm(const QString& mcc = {}, const QString& mnc = {});

    const QString& mcc() const { return m_mcc; }
    const QString& mnc() const { return m_mnc; }
    // Index into operatorTexts(), -1 when no operator is selected.
    int selected() const { return m_selected; }

    // The fields as typed; both are read as numbers (NetworkListModel::readNumberField) and the
    // operator the table gives for the pair is selected, none when either field is no number or
    // the table does not know the pair.
    void setFields(const QString& mcc, const QString& mnc);
    // Chooses operatorTexts()[index]: the fields take the codes of the first table row with that
    // text, the MCC in three digits and the MNC in at least two. An index outside the list changes
    // nothing.
    void chooseOperator(int index);

    // The operator selected for a pair of field texts (as setFields).
    static int operatorFor(const QString& mcc, const QString& mnc);

private:
    QString m_mcc;
    QString m_mnc;
    int m_selected = -1;
};

} // namespace kestrel
