#pragma once

// The pieces every section of the settings menu builds its pages from.

#include <QString>

class QVantelMenuItem;
class QVantelMenuItems;

// text translated in the settings page's context, for helpers outside the class.
QString settingsText(const char *text);

// A row of kind added to page: named "item<id>" when it has an id, titled when title is not
// empty, its contents indented by left and top and kept right from the right edge.
QVantelMenuItem *addSettingsRow(QVantelMenuItems *page,
                                int id,
                                int kind,
                                const QString &title,
                                int left = 10,
                                int top = 0,
                                int right = 10);
