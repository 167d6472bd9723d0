#pragma once

// The helpers and choice lists the Network section's pages share: the network page and the
// ISDN, Ethernet, mobile and Wi-Fi interface pages, each in a file of its own.

#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

class QVantelMenuItem;
class QVantelMenuItems;

namespace NetworkFields {

// One entry of a choice row: its value, its source text and, where the unit must offer it, the
// capability bit that does.
struct Choice
{
    int value;
    const char *text;
    quint32 capability = 0;
};

extern const std::vector<Choice> kQualities;
extern const std::vector<Choice> kAjbProfiles;

// A text row of page, added to it, showing value; read-only rows only show it.
QVantelMenuItem *addTextRow(QVantelMenuItems *page,
                            int id,
                            int kind,
                            const QString &label,
                            const std::string &value,
                            bool readOnly,
                            int left = 10);

QVantelMenuItem *addSwitchRow(
    QVantelMenuItems *page, int id, const QString &label, bool on, bool readOnly, int left = 10);

// Fills a choice row and selects value (text shown). An unknown value (-1) gives the single entry
// "Unknown" and locks the row. A value the list lacks makes the first entry current, unless
// ownWord is given: then the row shows that word with no current entry, so that no Apply made
// for another row writes a value over the one the unit has.
void fillChoice(QVantelMenuItem *row,
                const std::vector<Choice> &choices,
                int value,
                bool readOnly,
                const QString &ownWord = QString(),
                quint32 offered = ~quint32(0));

void addSpacer(QVantelMenuItems *page, const QString &label);

// The network an interface page edits: page 11 is "isdn.0", pages 12-15 are "eth.0" to "eth.3",
// 16-19 "mobile.0" to "mobile.3" and 20-23 "wifi.0" to "wifi.3".
std::string interfaceNetwork(int pageId);

} // namespace NetworkFields
