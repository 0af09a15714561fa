#include "automation/AutomationError.h"

#include <QCoreApplication>

#include <map>

namespace automation {
namespace {

const std::map<int, const char*>& descriptions()
{
    static const std::map<int, const char*> table = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {10, "This array is fixed or temporarily locked"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {18, "User interrupt occurred"},
        {28, "Out of stack space"},
        {48, "Error in loading DLL"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {91, "Object variable or With block variable not set"},
        {94, "Invalid use of Null"},
        {321, "Invalid file format"},
        {380, "Invalid property value"},
        {383, "'Item' property cannot be set"},
        {424, "Object required"},
        {429, "ActiveX component can't create object"},
        {438, "Object doesn't support this property or method"},
        {440, "Automation error"},
        {449, "Argument not optional"},
        {450, "Wrong number of arguments or invalid property assignment"},
    };
    return table;
}

QString defaultSource()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Vexlo") : name;
}

} // namespace

QString standardDescription(int number)
{
    const auto it = descriptions().find(number);
    return QString::fromLatin1(it != descriptions().end() ? it->second
                                                          : "Application-defined or object-defined error");
}

AutomationError::AutomationError(int number, QString source, QString description, QString helpFile,
                                 int helpContext)
    : m_number(number),
      m_source(source.isEmpty() ? defaultSource() : std::move(source)),
      m_description(description.isEmpty() ? standardDescription(number) : std::move(description)),
      m_helpFile(std::move(helpFile)),
      m_helpContext(helpContext),
      m_what(QStringLiteral("Error %1: %2").arg(m_number).arg(m_description).toStdString())
{
}

void raiseError(int number, const QString& description, const QString& source)
{
    throw AutomationError(number, source, description);
}

} // namespace automation
