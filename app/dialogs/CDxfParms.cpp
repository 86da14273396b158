#include "app/dialogs/CDxfParms.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/FieldText.h"
#include "app/platform/RegularFile.h"
#include "dxf/DxfConfig.h"
#include "dxf/DxfLayers.h"
#include "plot/Archive.h"
#include "plot/FileError.h"
#include "widgets/DialogParts.h"

namespace {
const char* const kCornerRows[3] = {"Lower-Left Corner", "Lower-Right Corner",
                                    "Upper-Right Corner"};
const char* const kCornerColumns[5] = {"X paper Coord", "Y paper Coord", "Easting", "Northing",
                                       "Elevation"};
const QStringList kConfigFilters = {QStringLiteral("Korvane Configuration (*.cfg)")};
const QString kConfigExtension = QStringLiteral("cfg");

double* CornerField(DxfSettings& p, int corner, int column) {
    double* columns[5] = {p.paperX, p.paperY, p.easting, p.northing, p.elevation};
    return &columns[column][corner];
}

QLineEdit* SizedEdit(const QString& name, int digits, QWidget* parent) {
    QLineEdit* edit = NamedEdit(name, parent);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))));
    return edit;
}

QLineEdit* NumberEdit(const QString& name, int digits, QWidget* parent) {
    QLineEdit* edit = SizedEdit(name, digits, parent);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

// The first pen whose layer name the export refuses, with the message; -1 when none.
int RefusedLayer(const DxfSettings& p, std::string& message) {
    // One name at a time, so the field of the pen the message names can take the focus.
    std::string names[8];
    for (int i = 0; i < 8; ++i) {
        names[i] = p.layerName[i];
        message = LayerNameProblem(names);
        if (!message.empty()) return i;
        names[i].clear();
    }
    return -1;
}

// The first pen whose layer name a configuration file could not keep: an empty name is
// skipped when read back, and one with white space splits into two fields, so every field
// after it would be misread. -1 when none, else the message naming the field.
int UnkeepableLayer(QLineEdit* const (&names)[8], QString& message) {
    for (int i = 0; i < 8; ++i) {
        const QString name = names[i]->text();
        const QString field = names[i]->accessibleName();
        if (name.isEmpty()) {
            message = QStringLiteral("%1 is empty: every pen needs a layer name.").arg(field);
            return i;
        }
        if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); })) {
            message = QStringLiteral("%1 holds white space: a layer name is one word.").arg(field);
            return i;
        }
    }
    return -1;
}

QString PathOf(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QLabel* Head(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return label;
}
}  // namespace

CDxfParms::CDxfParms(Prompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Save As DXF format"));

    // The pens and the conversion side by side over the corners, so that the dialog fits a
    // 1024 x 700 screen; the fields scroll when the screen is smaller still (large text
    // scaling), and the buttons below stay in sight.
    auto* fields = new QWidget;
    auto* top = new QHBoxLayout;
    top->addWidget(BuildLayers(), 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addWidget(BuildConversion(), 1, Qt::AlignTop);
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(top);
    column->addWidget(BuildCorners());
    column->addStretch();
    m_column = column;
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(fields);

    QPushButton* load = NamedButton(QStringLiteral("Load..."), this);
    QPushButton* save = NamedButton(QStringLiteral("Save..."), this);
    QPushButton* ok = NamedButton(QStringLiteral("OK"), this);
    QPushButton* cancel = NamedButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    connect(load, &QPushButton::clicked, this, &CDxfParms::OnLoad);
    connect(save, &QPushButton::clicked, this, &CDxfParms::OnSave);
    connect(ok, &QPushButton::clicked, this, &CDxfParms::accept);
    connect(cancel, &QPushButton::clicked, this, &CDxfParms::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    m_fields = fields;
    // Qt would open a window at most two thirds of the screen: this one takes what it needs.
    resize(sizeHint());
}

void CDxfParms::AskCoordinateSystem() {
    setWindowTitle(QStringLiteral("Save As GIS format"));
    m_crs = SizedEdit(QString(), 40, this);
    auto* row = new QHBoxLayout;
    row->addWidget(BuddyLabel(QStringLiteral("Coordinate system:"), m_crs, this));
    row->addWidget(m_crs, 1);
    m_column->insertLayout(m_column->count() - 1, row);
    resize(sizeHint());
}

QSize CDxfParms::sizeHint() const {
    // The whole of the fields where the screen has room for them.
    const QMargins margins = contentsMargins() + layout()->contentsMargins();
    QSize wanted =
        m_fields->sizeHint() + QSize(margins.left() + margins.right(),
                                     margins.top() + margins.bottom() + layout()->spacing() +
                                         layout()->itemAt(1)->sizeHint().height());
    if (const QScreen* s = screen()) wanted = wanted.boundedTo(s->availableGeometry().size());
    return wanted;
}

QWidget* CDxfParms::BuildLayers() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(Head("Pen #", box), 0, 0);
    grid->addWidget(Head("Layer Name", box), 0, 1);
    grid->addWidget(Head("Layer Color", box), 0, 2);
    for (int i = 0; i < 8; ++i) {
        const QString pen = QString::number(i + 1);
        auto* label = new QLabel(pen, box);
        label->setAlignment(Qt::AlignCenter);
        m_layerName[i] = SizedEdit(QStringLiteral("Layer Name ") + pen, 14, box);
        m_layerColor[i] = NumberEdit(QStringLiteral("Layer Color ") + pen, 5, box);
        m_layerColor[i]->setMaximumWidth(m_layerColor[i]->minimumWidth() * 3 / 2);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(m_layerName[i], i + 1, 1);
        grid->addWidget(m_layerColor[i], i + 1, 2);
    }
    return box;
}

QWidget* CDxfParms::BuildConversion() {
    auto* box = new QGroupBox(QStringLiteral("Conversion"), this);
    auto* normal = new QRadioButton(QStringLiteral("Normal"), box);
    auto* scaled = new QRadioButton(QStringLiteral("Scaled"), box);
    normal->setAccessibleName(normal->text());
    scaled->setAccessibleName(scaled->text());
    m_conversion = new QButtonGroup(box);
    m_conversion->addButton(normal, 0);
    m_conversion->addButton(scaled, 1);

    m_units = new QComboBox(box);
    m_units->addItems({QStringLiteral("Metric"), QStringLiteral("Imperial")});
    m_originalScale = NumberEdit(QString(), 12, box);

    auto* grid = new QGridLayout(box);
    grid->addWidget(normal, 0, 0);
    grid->addWidget(scaled, 1, 0);
    grid->setColumnMinimumWidth(1, 16);
    grid->addWidget(BuddyLabel(QStringLiteral("Original coordinates"), m_units, box), 0, 2);
    grid->addWidget(m_units, 0, 3);
    grid->addWidget(BuddyLabel(QStringLiteral("Original scale"), m_originalScale, box), 1, 2);
    grid->addWidget(m_originalScale, 1, 3);
    grid->setColumnStretch(4, 1);
    return box;
}

QWidget* CDxfParms::BuildCorners() {
    auto* box = new QGroupBox(
        QStringLiteral(
            "Plotter Coordinate System to World coordinate system Correspondence Points"),
        this);
    auto* grid = new QGridLayout(box);
    for (int c = 0; c < 5; ++c) grid->addWidget(Head(kCornerColumns[c], box), 0, c + 1);
    int row = 1;
    for (int k = 0; k < 3; ++k) {
        grid->addWidget(new QLabel(QString::fromLatin1(kCornerRows[k]), box), row, 0);
        for (int c = 0; c < 5; ++c) {
            const QString name = QString::fromLatin1(kCornerColumns[c]) + QLatin1Char(' ') +
                                 QString::fromLatin1(kCornerRows[k]);
            m_corner[k][c] = NumberEdit(name, 11, box);
            grid->addWidget(m_corner[k][c], row, c + 1);
        }
        ++row;
        if (k == 0) {
            auto* note = new QLabel(QStringLiteral("Fill the next 2 corners if drawing is not "
                                                   "horizontal (otherwise enter zeroes)"),
                                    box);
            note->setAlignment(Qt::AlignCenter);
            note->setWordWrap(true);
            grid->addWidget(note, row++, 0, 1, 6);
        }
    }
    return box;
}

void CDxfParms::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) UpdateData(Exchange::ToControls);
    QDialog::showEvent(event);
}

bool CDxfParms::UpdateData(Exchange direction) {
    DxfSettings& p = m_parameters;
    if (direction == Exchange::ToControls) {
        for (int i = 0; i < 8; ++i) {
            m_layerName[i]->setText(QString::fromStdString(p.layerName[i]));
            m_layerColor[i]->setText(QString::number(p.layerColor[i]));
        }
        // Any index but 0 shows as the second choice, as the export reads it; OK writes 1.
        CheckById(m_conversion, p.conversionIndex != 0 ? 1 : 0);
        m_units->setCurrentIndex(p.unitsIndex != 0 ? 1 : 0);
        m_originalScale->setText(QString::fromStdString(FormatDouble(p.originalScale)));
        for (int k = 0; k < 3; ++k) {
            for (int c = 0; c < 5; ++c) {
                m_corner[k][c]->setText(
                    QString::fromStdString(FormatDouble(*CornerField(p, k, c))));
            }
        }
        if (m_crs) m_crs->setText(m_coordinateSystem);
        return true;
    }

    const bool quiet = direction == Exchange::FromControlsQuietly;
    auto refuse = [&](QLineEdit* field, const char* message) {
        if (quiet) return true;
        m_prompts.Warning(QString::fromLatin1(message));
        FocusField(field);
        return false;
    };
    auto readInt = [&](QLineEdit* field, int& value) {
        return ParseInt(field->text().toStdString(), value) ||
               refuse(field, "Please enter an integer.");
    };
    auto readDouble = [&](QLineEdit* field, double& value) {
        return ParseDouble(field->text().toStdString(), value) ||
               refuse(field, "Please enter a number.");
    };

    // Read into a copy so that a refused field leaves m_parameters as it was.
    DxfSettings read = p;
    for (int i = 0; i < 8; ++i) {
        read.layerName[i] = m_layerName[i]->text().toStdString();
        if (!readInt(m_layerColor[i], read.layerColor[i])) return false;
    }
    read.conversionIndex = m_conversion->checkedId();
    read.unitsIndex = m_units->currentIndex();
    if (!readDouble(m_originalScale, read.originalScale)) return false;
    for (int k = 0; k < 3; ++k) {
        for (int c = 0; c < 5; ++c) {
            if (!readDouble(m_corner[k][c], *CornerField(read, k, c))) return false;
        }
    }
    p = read;
    if (m_crs) m_coordinateSystem = m_crs->text().trimmed();
    return true;
}

bool CDxfParms::LayerNamesKeepable() {
    QString message;
    const int pen = UnkeepableLayer(m_layerName, message);
    if (pen < 0) return true;
    m_prompts.Warning(message);
    FocusField(m_layerName[pen]);
    return false;
}

void CDxfParms::accept() {
    if (!LayerNamesKeepable() || !UpdateData(Exchange::FromControls)) return;
    std::string message;
    const int pen = RefusedLayer(m_parameters, message);
    if (pen >= 0) {
        m_prompts.Warning(QString::fromStdString(message));
        FocusField(m_layerName[pen]);
        return;
    }
    QDialog::accept();
}

void CDxfParms::OnLoad() {
    QString path = PathOf(m_cfgPath);
    int filterIndex = 1;
    if (!m_prompts.ChooseFile(QStringLiteral("Import from Configuration file..."), kConfigExtension,
                              kConfigFilters, path, false, filterIndex)) {
        return;
    }
    // What the file does not hold keeps what the dialog shows, edits included.
    UpdateData(Exchange::FromControlsQuietly);
    const std::string file = QFile::encodeName(path).toStdString();
    // A FIFO or device chosen here would block the window for good: refused unread.
    const RegularFile checked(file);
    if (checked.GetStatus() == RegularFile::Status::kNotRegular) {
        m_prompts.Warning(QStringLiteral("%1 is not a regular file.").arg(path));
        return;
    }
    DxfSettings loaded = m_parameters;
    if (checked.GetStatus() != RegularFile::Status::kOpen ||
        ReadDxfConfig(checked.ReadPath(), loaded) < 0) {
        m_prompts.Warning(QStringLiteral("%1 could not be read.").arg(path));
        return;
    }
    m_parameters = loaded;
    m_cfgPath = file;
    UpdateData(Exchange::ToControls);
}

void CDxfParms::OnSave() {
    // A field that does not read is corrected before anything is written, so a saved file
    // always holds what the dialog shows.
    if (!LayerNamesKeepable() || !UpdateData(Exchange::FromControls)) return;
    QString path = PathOf(m_cfgPath);
    int filterIndex = 1;
    if (!m_prompts.ChooseFile(QStringLiteral("Export Configuration file..."), kConfigExtension,
                              kConfigFilters, path, true, filterIndex)) {
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    const std::string text = DxfConfigText(m_parameters);
    try {
        // The archive replaces an existing file only once the new one is complete.
        Archive out = Archive::CreateForStore(file);
        out.Write(text.data(), text.size());
        out.Commit();
    } catch (const FileError& e) {
        m_prompts.Warning(QString::fromLocal8Bit(e.what()));
        return;
    }
    m_cfgPath = file;
}
