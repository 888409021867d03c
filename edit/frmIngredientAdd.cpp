#include "edit/frmIngredientAdd.h"

#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString kNameTaken = QStringLiteral("An ingredient by that name already exists, ") + QStringLiteral("please choose another name.");
// The longest name the Ingredient field holds.
constexpr int kMaxNameLength = 255;
} // namespace

frmIngredientAdd::frmIngredientAdd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIngredientAdd"));
    setWindowTitle(QStringLiteral("Add Ingredient"));
    buildControls();
    resize(sizeHint());
    CCommonRoutines().CenterForm(this);
}

void frmIngredientAdd::buildControls()
{
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(kMaxNameLength);
    txtName->setMinimumWidth(260);

    chkHave = new QCheckBox(QStringLiteral("&Have"), this);
    chkHave->setObjectName(QStringLiteral("chkHave"));
    chkCommon = new QCheckBox(QStringLiteral("&Common"), this);
    chkCommon->setObjectName(QStringLiteral("chkCommon"));

    // Each note sits under its box, lined up with the box's text.
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, chkHave)
        + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, chkHave);
    auto note = [this, indent](const QString &text) {
        auto *label = new QLabel(text, this);
        label->setWordWrap(true);
        label->setIndent(indent);
        label->setForegroundRole(QPalette::PlaceholderText);
        return label;
    };

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, guarded(&frmIngredientAdd::cmdOK_Click, this));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmIngredientAdd::cmdCancel_Click, this));

    auto *name = new QFormLayout;
    name->addRow(QStringLiteral("&Name:"), txtName);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(4);
    layout->addLayout(name);
    layout->addSpacing(12);
    layout->addWidget(chkHave);
    layout->addWidget(note(QStringLiteral("Check this box if you have this ingredient.")));
    layout->addSpacing(8);
    layout->addWidget(chkCommon);
    layout->addWidget(note(QStringLiteral("Common ingredients are those that you don't want to explicitly include in bar list "
                                          "searches.  Examples are water, ice, etc.")));
    layout->addSpacing(12);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

QString frmIngredientAdd::storedName(const QString &typed)
{
    return cleanName(typed).trimmed();
}

bool frmIngredientAdd::refuse(const QString &message)
{
    MsgBox(message, msgbox::vbInformation);
    txtName->setFocus();
    txtName->selectAll();
    return false;
}

bool frmIngredientAdd::nameIsAcceptable(const QString &name)
{
    if (name.contains(QLatin1Char('"')))
        return refuse(QStringLiteral("You cannot use the double-quote symbol (\") in an ingredient name.  Feel free to use a "
                                     "single-quote (') ")
                      + QStringLiteral("instead."));
    if (name.isEmpty())
        return refuse(QStringLiteral("Please enter a name for the ingredient."));
    if (name.contains(QLatin1Char(',')))
        return refuse(QStringLiteral("You cannot use a comma in an ingredient name: bar lists and ingredient searches "
                                     "separate names with commas."));
    return true;
}

void frmIngredientAdd::cmdOK_Click()
{
    const QString name = storedName(txtName->text());
    if (!nameIsAcceptable(name))
        return;
    CDatabase &db = programDatabase();
    if (bAdd) {
        if (db.DoesIngredientExist(name)) {
            refuse(kNameTaken);
            return;
        }
        db.IngredientAdd(name, chkCommon->isChecked(), chkHave->isChecked());
    } else {
        if (!newNameIsFree(name))
            return;
        try {
            db.IngredientEdit(sOldName, name, chkCommon->isChecked(), chkHave->isChecked());
        } catch (const EngineError &e) {
            if (e.number() != err::DuplicateValue)
                throw;
            refuse(kNameTaken);
            return;
        }
    }
    txtName->setText(name); // the opener reads back the name as it was stored
    accept();
}

bool frmIngredientAdd::newNameIsFree(const QString &name)
{
    // Another ingredient's name is refused here, before anything is written; the same one in other
    // letter case is a plain rename. A rename asks nothing: Undo takes it back.
    if (name == sOldName || sameName(name, sOldName))
        return true;
    return !programDatabase().DoesIngredientExist(name) || refuse(kNameTaken);
}

void frmIngredientAdd::cmdCancel_Click()
{
    bCancelled = true;
    QDialog::reject();
}

void frmIngredientAdd::reject()
{
    cmdCancel_Click();
}
