#include "ui/FileDialogs.h"

#include "ui/WindowUtils.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QStringList>
#include <QTreeView>
#include <QUrl>

#include <filesystem>

namespace
{
class TNameOnlyIconProvider : public QFileIconProvider
{
public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isDir())
            return icon(Folder);
        const QMimeType mime = MimeType(info);
        return QIcon::fromTheme(mime.iconName(), icon(File));
    }

    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QFileIconProvider::type(info); // a folder's type needs no reading
        return MimeType(info).comment();
    }

private:
    static QMimeType MimeType(const QFileInfo& info)
    {
        return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }
};
} // namespace

QFileIconProvider* NameOnlyIconProvider()
{
    static TNameOnlyIconProvider provider;
    return &provider;
}

QString QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (pattern.isEmpty())
            continue;
        // Qt reads the patterns from the parentheses; add them when the text has none.
        filters << (description.contains(QLatin1Char('('))
                        ? description
                        : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> TQtFileDialogRunner::Run(QWidget* owner, TFileDialogRequest& request)
{
    QFileDialog dialog(owner, request.Title);
    QCheckBox* check = nullptr;
    if (!request.CheckText.isEmpty())
    {
        // Qt's own dialog, whose grid takes one more row; a platform's dialog has no room.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        check = new QCheckBox(request.CheckText, &dialog);
        check->setObjectName(QStringLiteral("FileDialogCheck"));
        check->setChecked(request.Checked);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
    }
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtNameFilters(request.Filter));
    dialog.setDefaultSuffix(request.DefaultExt);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setIconProvider(NameOnlyIconProvider());
    if (!request.FileName.isEmpty())
    {
        const QFileInfo info(request.FileName);
        if (info.isAbsolute())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    // Wide enough for the name, size, type and date columns whole; on a small screen (a large
    // scale factor) the dialog and its title bar fit the work area.
    const QSize room = ScreenWorkArea(owner).size() - QSize(16, 48);
    const QSize roomy = QSize(780, 460).expandedTo(dialog.sizeHint());
    dialog.resize(roomy.boundedTo(room).expandedTo(dialog.minimumSizeHint()));
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
    {
        constexpr int DateColumn = 3;
        details->header()->setSectionResizeMode(DateColumn, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (check != nullptr)
        request.Checked = check->isChecked();
    return dialog.selectedFiles().constFirst();
}

bool TCenterOpenDialog::Execute()
{
    TFileDialogRequest request;
    request.Save = IsSaveDialog();
    request.Title = Title;
    request.Filter = Filter;
    request.DefaultExt = DefaultExt;
    request.FileName = FileName;
    request.CheckText = CheckText;
    request.Checked = Checked;
    const std::optional<QString> chosen = FRunner->Run(FOwner, request);
    if (!chosen)
        return false;
    FileName = *chosen;
    Checked = request.Checked;
    return true;
}

std::string ToFsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromFsPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string LocalFsPath(const QUrl& url)
{
    // QUrl keeps percent-encoded bytes that do not decode as UTF-8 as they are.
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

std::string AbsoluteFsPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}
