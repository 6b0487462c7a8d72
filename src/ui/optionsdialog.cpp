// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/optionsdialog.h"

#include "app/session.h"
#include "app/settings.h"
#include "formats/mapgeometry.h"
#include "ui/filechooser.h"
#include "ui/groupbox.h"
#include "ui/initialfolder.h"
#include "ui/messageboxes.h"
#include "ui/pathedit.h"
#include "ui/uistyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cctype>
#include <tuple>

namespace tessaplex::ui {

namespace {

constexpr int EditHeight = 21;
// The rows "Hues" and "Tiledata" below "Art": everything beneath moves down by this much.
constexpr int ArtGroupGrowth = 48;

// Paths are UTF-8 inside the program on every system (Windows' 8-bit code page cannot spell
// every folder name).
QString fromSetting(const std::string &value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

std::string toSetting(const QString &text) {
    return text.toUtf8().toStdString();
}

PathEdit *pathEdit(QWidget *parent, const char *name, int left, int top, int width) {
    return named(place(new PathEdit(parent), left, top, width, EditHeight), name);
}

QPushButton *chooseButton(QWidget *parent, const char *name, int left, int top) {
    auto *button = place(new QPushButton(QStringLiteral("..."), parent), left, top, 25, 22);
    button->setAutoDefault(false);
    return named(button, name);
}

void label(QWidget *parent, const char *caption, int left, int top) {
    place(new QLabel(QString::fromLatin1(caption), parent), left, top, 47, 13);
}

// One captioned path row of a file group: the caption, the path field and its "..." button,
// named name and "choose" + name with its first letter in upper case.
void pathRow(QWidget *group, const char *caption, const char *name, int top, PathEdit *&edit,
             QPushButton *&button) {
    label(group, caption, 8, top + 4);
    edit = pathEdit(group, name, 56, top, 385);
    QByteArray buttonName = QByteArray("choose") + name;
    buttonName[6] = static_cast<char>(std::toupper(static_cast<unsigned char>(buttonName[6])));
    button = chooseButton(group, buttonName.constData(), 448, top);
}

// The "Map" choices: "As written" (an empty setting) first, then map n at index n + 1, each with
// the sizes its static files may have, so that the operator can tell the maps apart.
void fillMapChoices(QComboBox &box) {
    box.addItem(QStringLiteral("As written"), QString());
    for (int map = 0; map < formats::MapCount; ++map) {
        const formats::MapSizes sizes = formats::sizesOfMap(map);
        QStringList shown;
        for (int i = 0; i < sizes.count; ++i)
            shown.append(
                QStringLiteral("%1 x %2").arg(sizes.sizes[i].width).arg(sizes.sizes[i].height));
        box.addItem(QStringLiteral("Map %1 (%2)").arg(map).arg(shown.join(QStringLiteral(" or "))),
                    QString::number(map));
    }
}

} // namespace

OptionsDialog::OptionsDialog(app::Settings &settings, MessageBoxes &messages, FileChooser &files,
                             QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_messages(messages)
    , m_files(files) {
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(486, 304 + ArtGroupGrowth);
    setWindowModality(Qt::ApplicationModal);

    buildStaticsGroup();
    buildArtGroup();
    buildWorldfileGroup();
    buildItemFilesGroup();
    m_controls.ok = named(
        place(new QPushButton(QStringLiteral("&OK"), this), 200, 280 + ArtGroupGrowth, 89, 21),
        "ok");
    m_controls.ok->setDefault(true);
    connect(m_controls.ok, &QPushButton::clicked, this, &QDialog::accept);

    const Controls &c = m_controls;
    QWidget *order[] = {c.staidx,       c.statics,      c.chooseStaidx, c.chooseStatics,
                        c.artIdx,       c.art,          c.hues,         c.tiledata,
                        c.chooseArtIdx, c.chooseArt,    c.chooseHues,   c.chooseTiledata,
                        c.worldFile,    c.unixLineEnds, c.map,          c.chooseWorldFile,
                        c.ok,           c.itemFiles};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    using Kinds = FileChooser::Kinds;
    const std::tuple<QPushButton *, PathEdit *, std::string_view, Kinds> choices[] = {
        {c.chooseStaidx, c.staidx, app::keys::Staidx, Kinds::Mul},
        {c.chooseStatics, c.statics, app::keys::Statics, Kinds::Mul},
        {c.chooseArtIdx, c.artIdx, app::keys::ArtIdx, Kinds::Mul},
        // The art data file may be art.mul or a UOP container; its first bytes tell which.
        {c.chooseArt, c.art, app::keys::Art, Kinds::MulOrUop},
        {c.chooseHues, c.hues, app::keys::Hues, Kinds::Mul},
        {c.chooseTiledata, c.tiledata, app::keys::Tiledata, Kinds::Mul},
        {c.chooseWorldFile, c.worldFile, app::keys::WorldFileWritten, Kinds::Mul},
    };
    for (const auto &[button, edit, key, kinds] : choices) {
        connect(button, &QPushButton::clicked, this,
                [this, edit = edit, key = key, kinds = kinds] { onChooseFile(edit, key, kinds); });
    }
    connect(c.unixLineEnds, &QCheckBox::toggled, this, &OptionsDialog::onUnixToggled);
    connect(c.itemFiles, &QLineEdit::textChanged, this, &OptionsDialog::onItemFilesChanged);
    // Only the operator's choice is written: showing a setting that names no map as "As
    // written" must not overwrite it.
    connect(c.map, &QComboBox::activated, this, &OptionsDialog::onMapChosen);

    fitFontToCaptions(*this);
    move(285, 255);
}

void OptionsDialog::buildStaticsGroup() {
    auto *group = place(new GroupBox(QStringLiteral("StaticsFiles"), this), 0, 0, 481, 73);
    pathRow(group, "Staidx0", "staidx", 16, m_controls.staidx, m_controls.chooseStaidx);
    pathRow(group, "Statics0", "statics", 40, m_controls.statics, m_controls.chooseStatics);
}

void OptionsDialog::buildArtGroup() {
    auto *group =
        place(new GroupBox(QStringLiteral("ArtFiles"), this), 0, 80, 481, 73 + ArtGroupGrowth);
    pathRow(group, "Artidx", "artIdx", 16, m_controls.artIdx, m_controls.chooseArtIdx);
    pathRow(group, "Art", "art", 40, m_controls.art, m_controls.chooseArt);
    pathRow(group, "Hues", "hues", 64, m_controls.hues, m_controls.chooseHues);
    pathRow(group, "Tiledata", "tiledata", 88, m_controls.tiledata, m_controls.chooseTiledata);
}

void OptionsDialog::buildWorldfileGroup() {
    auto *group =
        place(new GroupBox(QStringLiteral("Worldfile"), this), 0, 160 + ArtGroupGrowth, 481, 65);
    m_controls.worldFile = pathEdit(group, "worldFile", 8, 16, 433);
    m_controls.chooseWorldFile = chooseButton(group, "chooseWorldFile", 448, 16);
    m_controls.unixLineEnds =
        named(place(new QCheckBox(QStringLiteral("Save WorldFile as Unix-Textformat"), group), 8,
                    40, 201, 17),
              "unixLineEnds");
    setSilverBackground(*m_controls.unixLineEnds);
    place(new QLabel(QStringLiteral("Map"), group), 228, 42, 26, 13);
    m_controls.map = named(place(new QComboBox(group), 256, 38, 217, EditHeight), "map");
    fillMapChoices(*m_controls.map);
}

void OptionsDialog::buildItemFilesGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Path to Spheritemsb*"), this), 0,
                        232 + ArtGroupGrowth, 481, 41);
    m_controls.itemFiles = named(place(new QLineEdit(group), 8, 16, 433, EditHeight), "itemFiles");
    setSilverBackground(*m_controls.itemFiles);
}

void OptionsDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    fillFromSettings();
}

void OptionsDialog::fillFromSettings() {
    m_messages.runCommand([this] {
        const auto read = [this](std::string_view key) {
            return fromSetting(m_settings.readText(app::SettingsSection, key));
        };
        m_controls.staidx->setText(read(app::keys::Staidx));
        m_controls.statics->setText(read(app::keys::Statics));
        m_controls.worldFile->setText(read(app::keys::WorldFileWritten));
        m_controls.artIdx->setText(read(app::keys::ArtIdx));
        m_controls.art->setText(read(app::keys::Art));
        m_controls.hues->setText(read(app::keys::Hues));
        m_controls.tiledata->setText(read(app::keys::Tiledata));
        // A value that differs from what the control showed is a change, and is written back
        // through the control's handler, normalised.
        const QString itemFiles = read(app::keys::ItemFiles);
        if (m_controls.itemFiles->text() != itemFiles)
            m_controls.itemFiles->setText(itemFiles);
        const bool unixLineEnds = m_settings.readBool(app::SettingsSection, app::keys::Unix, false);
        if (m_controls.unixLineEnds->isChecked() != unixLineEnds)
            m_controls.unixLineEnds->setChecked(unixLineEnds);
        const int map = m_controls.map->findData(read(app::keys::Map));
        m_controls.map->setCurrentIndex(map < 0 ? 0 : map);
    });
}

void OptionsDialog::onChooseFile(PathEdit *edit, std::string_view key, FileChooser::Kinds kinds) {
    m_messages.runCommand([&] {
        const std::optional<QString> chosen =
            m_files.chooseFile(initialFolder(edit->text()), kinds);
        if (!chosen)
            return;
        edit->setText(*chosen);
        m_settings.writeText(app::SettingsSection, key, toSetting(edit->text()));
    });
}

void OptionsDialog::onUnixToggled(bool checked) {
    m_messages.runCommand(
        [&] { m_settings.writeBool(app::SettingsSection, app::keys::Unix, checked); });
}

void OptionsDialog::onMapChosen(int index) {
    m_messages.runCommand([&] {
        m_settings.writeText(app::SettingsSection, app::keys::Map,
                             toSetting(m_controls.map->itemData(index).toString()));
    });
}

void OptionsDialog::onItemFilesChanged(const QString &text) {
    m_messages.runCommand(
        [&] { m_settings.writeText(app::SettingsSection, app::keys::ItemFiles, toSetting(text)); });
}

} // namespace tessaplex::ui
