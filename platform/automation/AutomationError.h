#pragma once

#include <QString>

#include <exception>
#include <string>

// The numbered error of the automation runtime. Every failure that crosses
// a routine, an object or a process boundary of the system is one of these;
// routines that guard a phase catch it and either report it or rethrow it
// with every field intact.
namespace automation {

// Error numbers that the system raises.
namespace ErrorNumber {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int UserInterrupt = 18;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIOError = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int InvalidFileFormat = 321;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int ObjectRequired = 424;
inline constexpr int CannotCreateObject = 429;
inline constexpr int NotSupported = 438;
inline constexpr int ArgumentNotOptional = 449;
inline constexpr int WrongNumberOfArguments = 450;
} // namespace ErrorNumber

// The standard description of an error number ("Overflow" for 6), or
// "Application-defined or object-defined error" for a number without one.
QString standardDescription(int number);

class AutomationError : public std::exception {
public:
    // An empty description takes the standard one; an empty source takes the
    // running program's name, as the runtime does for errors it raises itself.
    explicit AutomationError(int number, QString source = {}, QString description = {}, QString helpFile = {},
                             int helpContext = 0);

    int number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }
    const QString& helpFile() const { return m_helpFile; }
    int helpContext() const { return m_helpContext; }

    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_source;
    QString m_description;
    QString m_helpFile;
    int m_helpContext;
    std::string m_what;
};

// Raises the numbered error; the description defaults to the standard one.
[[noreturn]] void raiseError(int number, const QString& description = {}, const QString& source = {});

} // namespace automation
