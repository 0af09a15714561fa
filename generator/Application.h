#pragma once

#include "automation/Dispatch.h"

#include <QString>
#include <QUuid>

class frmMain;

// The automation object Vexlo.Application, through which another program
// drives the main window. It keeps no state of its own: every property reads
// or writes a control or field of the one main window, and every method calls
// one of the window's operations, loading the window (hidden) when it is not
// loaded. Every Application object of the process shares that window.
class Application : public automation::Dispatch {
public:
    // Registration identity.
    static const QUuid kTypeLibraryId;
    static constexpr int kTypeLibraryMajorVersion = 27;
    static constexpr int kTypeLibraryMinorVersion = 0;
    static const QUuid kClassId;
    static const QUuid kInterfaceId;
    static constexpr const char* kProgId = "Vexlo.Application";

    explicit Application(frmMain& form);

    const automation::TypeInfo& typeInfo() const override;

    // The members, as C++ calls them.
    bool AllowUI() const { return true; }
    void setAllowUI(const bool& /*value*/) {}
    std::int32_t ProcID();
    QString MemoryName() const;
    void setMemoryName(const QString& value);
    std::int16_t PassLength();
    void setPassLength(const std::int16_t& value);
    std::int16_t Seed();
    void setSeed(const std::int16_t& value);
    bool NonPrintableChars();
    void setNonPrintableChars(const bool& value);
    bool SymbolChars();
    void setSymbolChars(const bool& value);
    bool Visible();
    void setVisible(const bool& value);
    QString Generate();
    QString Copy();
    bool Save(QString& FileName, QString& Description);
    void Terminate();
    void Show();

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

private:
    frmMain& m_form;
};
