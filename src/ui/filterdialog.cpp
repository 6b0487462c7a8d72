// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filterdialog.h"

#include "app/filtersettings.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "selection/filterarea.h"
#include "selection/filterentry.h"
#include "ui/groupbox.h"
#include "ui/itemtablemodel.h"
#include "ui/messageboxes.h"
#include "ui/previewimage.h"
#include "ui/progressgaugewidget.h"
#include "ui/uistyle.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <tuple>
#include <utility>

namespace tessaplex::ui {

namespace {

constexpr int FieldHeight = 21;
constexpr int ButtonHeight = 23;

// The texts of the fields and the entries are single-byte texts: one character, one byte.
std::string toBytes(const QString &text) {
    return text.toLatin1().toStdString();
}

QString fromBytes(const std::string &bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QLabel *label(QWidget *parent, const char *caption, int left, int top, int width) {
    auto *result = new QLabel(QString::fromLatin1(caption), parent);
    result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return place(result, left, top, width, FieldHeight);
}

QLineEdit *field(QWidget *parent, const char *name, int left, int top, int width) {
    return named(place(new QLineEdit(parent), left, top, width, FieldHeight), name);
}

} // namespace

FilterDialog::FilterDialog(app::Session &session, ItemTableModel &items, ProgressGaugeWidget &gauge,
                           MessageBoxes &messages, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_session(session)
    , m_items(items)
    , m_gauge(gauge)
    , m_messages(messages) {
    setWindowTitle(QStringLiteral("Filter"));
    setFixedSize(340, 353);
    setWindowModality(Qt::ApplicationModal);

    buildItemsGroup();
    buildAreaGroup();
    buildControlGroup();
    buildButtons();

    const Controls &c = m_controls;
    QWidget *order[] = {c.entries, c.id,  c.use,    c.x1,   c.y1,     c.x2,
                        c.y2,      c.add, c.remove, c.sort, c.cancel, c.ok};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(c.entries, &QListWidget::itemSelectionChanged, this, &FilterDialog::onEntrySelected);
    connect(c.id, &QLineEdit::textChanged, this, &FilterDialog::onIdChanged);
    connect(c.add, &QPushButton::clicked, this, &FilterDialog::onAdd);
    connect(c.remove, &QPushButton::clicked, this, &FilterDialog::onRemove);
    connect(c.sort, &QPushButton::clicked, this, &FilterDialog::onSort);
    // Only the operator's click is a change: filling the box from the settings writes nothing.
    connect(c.use, &QCheckBox::clicked, this, &FilterDialog::onUseClicked);
    connect(c.cancel, &QPushButton::clicked, this, &FilterDialog::reject);
    connect(c.ok, &QPushButton::clicked, this, &FilterDialog::onOk);
    for (QLineEdit *area : {c.x1, c.y1, c.x2, c.y2})
        area->installEventFilter(this);

    fitFontToCaptions(*this);
    centreOnScreen(*this);
}

void FilterDialog::buildItemsGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Items"), this), 4, 2, 180, 216);
    auto *list = named(place(new QListWidget(group), 8, 18, 164, 190), "entries");
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    setSilverBackground(*list);
    m_controls.entries = list;
}

void FilterDialog::buildAreaGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Area"), this), 4, 222, 180, 98);
    m_controls.use =
        named(place(new QCheckBox(QStringLiteral("Use"), group), 8, 18, 60, 17), "use");
    label(group, "Top", 8, 40, 46);
    m_controls.x1 = field(group, "x1", 56, 40, 56);
    m_controls.y1 = field(group, "y1", 116, 40, 56);
    label(group, "Bottom", 8, 66, 46);
    m_controls.x2 = field(group, "x2", 56, 66, 56);
    m_controls.y2 = field(group, "y2", 116, 66, 56);
}

void FilterDialog::buildControlGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Control"), this), 188, 2, 148, 318);
    m_controls.preview = named(place(new PreviewImage(group), 8, 18, 131, 225), "preview");
    // The name of the previewed item, from the tiledata file, between the preview and the ID.
    m_controls.name = named(place(new QLabel(group), 8, 250, 131, 17), "name");
    m_controls.name->setTextFormat(Qt::PlainText);
    // The ID row lines up with the area's "Bottom" row beside it.
    label(group, "ID", 8, 286, 22);
    m_controls.id = field(group, "id", 32, 286, 107);
    m_controls.id->setMaxLength(6);
}

void FilterDialog::buildButtons() {
    const std::tuple<const char *, const char *, QPushButton **> buttons[] = {
        {"add", "&Add", &m_controls.add},    {"remove", "&Remove", &m_controls.remove},
        {"sort", "&Sort", &m_controls.sort}, {"cancel", "&Cancel", &m_controls.cancel},
        {"ok", "&OK", &m_controls.ok},
    };
    int left = 4;
    for (const auto &[name, caption, slot] : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(caption), this);
        // Return in a field must not apply the filter or change the list by surprise.
        button->setAutoDefault(false);
        *slot = named(place(button, left, 326, 63, ButtonHeight), name);
        left += 67;
    }
}

std::string FilterDialog::listFilePath() const {
    return m_session.ownFilePath(app::FilterListFileName);
}

void FilterDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    onActivated();
}

bool FilterDialog::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut) {
        // Only a move to another control leaves the field; the window losing the focus (a
        // message box, another window, hiding) does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            const Controls &c = m_controls;
            const std::pair<QLineEdit *, std::string_view> fields[] = {{c.x1, app::keys::X1},
                                                                       {c.y1, app::keys::Y1},
                                                                       {c.x2, app::keys::X2},
                                                                       {c.y2, app::keys::Y2}};
            for (const auto &[area, key] : fields) {
                if (watched == area)
                    onAreaFieldLeft(area, key);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FilterDialog::onActivated() {
    m_messages.runCommand([this] {
        const Controls &c = m_controls;
        const selection::FilterArea area = selection::storedFilterArea(m_session.settings());
        c.x1->setText(QString::number(area.x1));
        c.y1->setText(QString::number(area.y1));
        c.x2->setText(QString::number(area.x2));
        c.y2->setText(QString::number(area.y2));
        c.use->setChecked(area.use);
        if (!selection::reloadFilterList(listFilePath(), m_entries))
            return; // no file: the list keeps what it held
        showEntries();
        if (m_entries.empty())
            return;
        {
            const QSignalBlocker quiet(c.entries);
            c.entries->setCurrentRow(0);
        }
        preview(selection::artEntryForFilterEntry(m_entries.front()));
    });
}

void FilterDialog::onEntrySelected() {
    const QList<QListWidgetItem *> selected = m_controls.entries->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = m_controls.entries->row(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= m_entries.size())
        return;
    preview(selection::artEntryForFilterEntry(m_entries[static_cast<std::size_t>(row)]));
}

void FilterDialog::onIdChanged(const QString &text) {
    preview(selection::artEntryForIdField(toBytes(text)));
}

void FilterDialog::onAdd() {
    std::string entry = selection::filterEntryFromIdField(toBytes(m_controls.id->text()));
    const QString shown = fromBytes(entry);
    if (selection::appendFilterEntry(m_entries, std::move(entry)))
        m_controls.entries->addItem(shown);
    // Back to the field, its text selected, so that the next ID can be typed at once.
    m_controls.id->setFocus(Qt::OtherFocusReason);
    m_controls.id->selectAll();
}

void FilterDialog::onRemove() {
    QListWidget *list = m_controls.entries;
    const QList<QListWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = list->row(selected.front());
    if (!selection::removeFilterEntry(m_entries, row))
        return;
    // No entry is selected afterwards, so nothing else is previewed by surprise.
    const QSignalBlocker quiet(list);
    delete list->takeItem(row);
    list->setCurrentRow(-1);
    list->clearSelection();
}

void FilterDialog::onSort() {
    selection::sortFilterEntries(m_entries);
    showEntries();
}

void FilterDialog::onAreaFieldLeft(QLineEdit *field, std::string_view key) {
    const std::string text = toBytes(field->text());
    // The field shows its value even when the settings file refuses it.
    field->setText(fromBytes(selection::normalisedAreaField(text)));
    m_messages.runCommand([&] { selection::storeAreaField(m_session.settings(), key, text); });
}

void FilterDialog::onUseClicked(bool checked) {
    m_messages.runCommand([&] { selection::storeFilterAreaUse(m_session.settings(), checked); });
}

void FilterDialog::reject() {
    onCancel();
}

void FilterDialog::onCancel() {
    if (m_messages.runCommand(
            [this] { selection::writeFilterListFile(listFilePath(), m_entries); }))
        QDialog::reject();
}

void FilterDialog::onOk() {
    const Controls &c = m_controls;
    // The fields as they show now, whatever the settings file holds.
    const selection::FilterArea area = selection::FilterArea::fromFields(
        toBytes(c.x1->text()), toBytes(c.y1->text()), toBytes(c.x2->text()), toBytes(c.y2->text()),
        c.use->isChecked());

    // The main window and its gauge are on screen while the filter runs.
    hide();
    m_gauge.window()->repaint();
    m_gauge.repaint();

    const bool applied =
        m_messages.runCommand([&] { m_items.applyFilter(m_entries, area, m_gauge); });
    // The marks stay set when the list cannot be saved; the error box tells the operator.
    if (applied)
        m_messages.runCommand(
            [this] { selection::writeFilterListFile(listFilePath(), m_entries); });
    accept();
}

void FilterDialog::showEntries() {
    QListWidget *list = m_controls.entries;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string &entry : m_entries)
        list->addItem(fromBytes(entry));
    list->setCurrentRow(-1);
    list->clearSelection();
}

void FilterDialog::preview(std::uint32_t artEntry) {
    m_messages.runCommand([&] {
        app::ClientFiles &files = m_session.clientFiles();
        const app::Settings &settings = m_session.settings();
        // Art entries below the items' are no items and have no name.
        const std::optional<app::ItemTileData> tileData =
            artEntry >= art::ItemArtBase ? files.tileData(settings, artEntry - art::ItemArtBase)
                                         : std::nullopt;
        m_controls.preview->showEntry(files, settings, artEntry, std::nullopt);
        setElidedText(*m_controls.name,
                      tileData ? QString::fromLatin1(tileData->name.c_str()) : QString());
    });
}

} // namespace tessaplex::ui
