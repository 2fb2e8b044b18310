// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPaneAccessible.h"

#include "PreviewPane.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace zadw {
namespace {

int rowCountOf(const CPreviewPane* pane) {
    return pane != nullptr ? static_cast<int>(pane->table().rows.size()) : 0;
}
int columnCountOf(const CPreviewPane* pane) {
    return pane != nullptr ? static_cast<int>(pane->table().headings.size()) : 0;
}

// One cell, or a column header (row -1). It reads the pane's page when asked, so it never holds
// a text of a page no longer shown.
class PaneCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    PaneCell(CPreviewPane* pane, int row, int column) : pane_(pane), row_(row), column_(column) {}

    bool isValid() const override {
        return pane_ != nullptr && row_ < rowCountOf(pane_) && column_ < columnCountOf(pane_);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return pane_ != nullptr ? pane_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(pane_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) {
            return {};
        }
        const ScreenTable& table = pane_->table();
        const auto column = static_cast<std::size_t>(column_);
        const std::string& text = row_ < 0
                                      ? table.headings[column]
                                      : table.rows[static_cast<std::size_t>(row_)].cells[column];
        return QString::fromStdString(text);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect local = pane_->CellRect(row_, column_);
        return QRect(pane_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        st.readOnly = true;
        st.invisible = !pane_->isVisible();
        if (row_ >= 0) {
            st.focusable = true;
            st.focused = pane_->hasFocus() && row_ == pane_->currentRow() &&
                         column_ == pane_->currentColumn();
        }
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        QAccessibleInterface* header = table() != nullptr ? table()->child(column_) : nullptr;
        return row_ >= 0 && header != nullptr ? QList<QAccessibleInterface*>{header}
                                              : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<CPreviewPane> pane_;
    int row_;
    int column_;
};

class PaneAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit PaneAccessible(CPreviewPane* pane) : QAccessibleWidget(pane, QAccessible::Table) {}
    ~PaneAccessible() override { dropCells(); }
    PaneAccessible(const PaneAccessible&) = delete;
    PaneAccessible& operator=(const PaneAccessible&) = delete;

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return columnCount() * (rowCount() + 1); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        if (columns == 0 || index < 0 || index >= childCount()) {
            return nullptr;
        }
        if (const auto found = cells_.constFind(index); found != cells_.constEnd()) {
            return QAccessible::accessibleInterface(*found);
        }
        auto* cell = new PaneCell(pane(), index / columns - 1, index % columns);
        cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessibleTableCellInterface* cell =
            child != nullptr ? const_cast<QAccessibleInterface*>(child)->tableCellInterface()
                             : nullptr;
        if (cell == nullptr || cell->table() != this) {
            return -1;
        }
        return (cell->rowIndex() + 1) * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = pane()->mapFromGlobal(QPoint(x, y));
        for (int row = -1; row < rowCount(); ++row) {
            for (int column = 0; column < columnCount(); ++column) {
                if (pane()->CellRect(row, column).contains(at)) {
                    return cellAt(row, column);
                }
            }
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!pane()->hasFocus() || rowCount() == 0) {
            return nullptr;
        }
        return cellAt(pane()->currentRow(), pane()->currentColumn());
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < -1 || row >= rowCount() || column < 0 || column >= columnCount()) {
            return nullptr;
        }
        return child(PreviewPaneChildIndex(pane()->table(), row, column));
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        return column >= 0 && column < columnCount()
                   ? QString::fromStdString(
                         pane()->table().headings[static_cast<std::size_t>(column)])
                   : QString();
    }
    int columnCount() const override { return columnCountOf(pane()); }
    QString rowDescription(int) const override { return {}; }
    int rowCount() const override { return rowCountOf(pane()); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { dropCells(); }

    void dropCells() {
        const QHash<int, QAccessible::Id> cells = std::exchange(cells_, {});
        for (const QAccessible::Id id : cells) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

private:
    CPreviewPane* pane() const { return static_cast<CPreviewPane*>(widget()); }

    mutable QHash<int, QAccessible::Id> cells_;
};

QAccessibleInterface* paneFactory(const QString&, QObject* object) {
    if (auto* pane = qobject_cast<CPreviewPane*>(object)) {
        return new PaneAccessible(pane);
    }
    return nullptr;
}

} // namespace

void InstallPreviewPaneAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(paneFactory);
        return true;
    }();
    (void)installed;
}

int PreviewPaneChildIndex(const ScreenTable& table, int row, int column) {
    return (row + 1) * static_cast<int>(table.headings.size()) + column;
}

void DropPreviewPaneCells(CPreviewPane* pane) {
    if (auto* iface = dynamic_cast<PaneAccessible*>(QAccessible::queryAccessibleInterface(pane))) {
        iface->dropCells();
    }
}

} // namespace zadw
