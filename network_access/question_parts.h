#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QVBoxLayout;

namespace quillo::network {

// What the client's network questions share, so they read and answer alike.

// A line of plain text that wraps: a host or realm from the network is never read as markup.
QLabel* addTextLine(QDialog& dialog, QVBoxLayout& layout, const QString& text);

// The answer row: Enter presses accept, Esc presses reject (Qt's own Cancel when reject is empty).
QDialogButtonBox* addAnswerRow(QDialog& dialog, QVBoxLayout& layout, const QString& accept,
                               const QString& reject = {});

} // namespace quillo::network
