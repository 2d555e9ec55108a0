#pragma once

#include <QStringList>

class QComboBox;

// Fills a drop-down list anew. QComboBox would select the first row by itself as soon as it is
// added, and report it; here the list ends with no row selected and nothing reported, so that
// the caller's own selection of a row is always a change and always reported.
void refill(QComboBox* combo, const QStringList& rows);
