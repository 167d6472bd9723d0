#pragma once

// The helpers every section of the settings menu builds its pages from. The field tables of the
// Apply pages are in settings/settingsfields.h.

#include <QMap>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QVantelMenuItem;
class QVantelMenuItems;
class QVantelMenuWidget;
class WriteWatch;

// text translated in the settings page's context, for helpers outside the class.
QString settingsText(const char *text);

// How long "Applying changes..." stays up before an Apply that the unit takes quickly.
inline constexpr int kApplyingMs = 1000;

// A row of kind added to page: named "item<id>" when it has an id, titled when title is not
// empty, its contents indented by left and top and kept right from the right edge.
QVantelMenuItem *addSettingsRow(QVantelMenuItems *page,
                                int id,
                                int kind,
                                const QString &title,
                                int left = 10,
                                int top = 0,
                                int right = 10);

// The row of page with that id when it takes part in a comparison or an Apply: present and not
// read-only. Null on a null page.
[[nodiscard]] QVantelMenuItem *editableRow(const QVantelMenuItems *page, int id);

// Replaces the entries of a choice row with values, in their order, each named by text, and
// makes value current; a value the list lacks gives way to the first entry. Returns the value
// now current: value itself when the list is empty, and the row then shows no text. The row is
// read-only when it offers no choice.
int fillChoiceRow(QVantelMenuItem *row,
                  const std::vector<int> &values,
                  const std::function<QString(int)> &text,
                  int value);
// The same with the entries of a map, in key order.
int fillChoiceRow(QVantelMenuItem *row, const QMap<int, QString> &entries, int value);

// The unit's own word for a row that is written as soon as it is committed (empty when the unit
// reported none): remembered when the page is built and after each write, so that confirming the
// value the unit already holds sends nothing, while confirming an entry the row shows in place
// of a word it has no entry for sends that entry.
// A refused write puts the row back to it.
void rememberUnitWord(QVantelMenuItem *row, const std::string &word);
[[nodiscard]] bool unitHolds(const QVantelMenuItem *row, const std::string &word);
// The word remembered for row; empty when none is.
[[nodiscard]] std::string unitWord(const QVantelMenuItem *row);

// The sampling rate the telephone-band algorithms run at, which their sampling-rate row shows:
// 8000 Hz for the G.711 family (0 to 2), 16000 Hz for the G.722 family (3 to 6); 0 for any other
// algorithm, whose rates the unit lists. Their coding holds 48000 Hz, the rate the unit lists
// their bit rates at, and is written without a rate.
[[nodiscard]] int telephoneBandRate(int algorithm);

// Shows that the unit's value for row is not known (its read failed or the unit did not report
// it), instead of a default the unit never sent: a choice or wheel offers the single entry
// "Unknown", a switch says "Unknown" with its switch hidden, any other row shows nothing. The
// row is locked, so nothing unread is compared or written.
void showUnread(QVantelMenuItem *row);
// The same, but a choice row keeps its entries for the read that fills it: it shows "Unknown"
// over them, locked.
void showUnreadKeepingChoices(QVantelMenuItem *row);
// Whether row shows what showUnread() leaves on a choice or wheel: the single entry "Unknown".
[[nodiscard]] bool showsUnreadChoice(const QVantelMenuItem *row);
// A row written as soon as it is committed, whose write the unit did not take as sent (the
// model's setter said so: it refused, took only part, or answered too late and the read-back
// found another value): the row shows what the unit holds, and the menu says "Failed to apply
// changes!". putBack(row) shows the model's value again, the one the unit kept; but when a write
// that watch saw left the value unknown (no answer in time, and its read-back failed too), the
// row shows nothing and is locked (showUnread()) instead of a value the unit may no longer hold.
// A null row (gone while the write waited) is left alone.
void showWriteFailed(QVantelMenuWidget *menu,
                     QVantelMenuItem *row,
                     const WriteWatch &watch,
                     const std::function<void(QVantelMenuItem *)> &putBack);
// Undoes showUnread() on a switch row (one without texts of its own) whose value is now known:
// its switch and its plain texts come back. The caller sets its state and lock.
void showSwitchRead(QVantelMenuItem *row);
