#pragma once

#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "automation/PropertyBag.h"
#include "automation/StdFont.h"

#include <QWidget>

#include <optional>

// The base of the system's user controls: a widget that a host places,
// initialises (new instance) or restores from its stored data, saves, sizes,
// shows and paints, and that tells its host when a property changed.
//
// The host drives the life cycle:
//   new control:     construct, then initNew()            -> initProperties()
//   stored control:  construct, then load(bag)            -> readProperties(bag)
//   host saves:      save(bag)                            -> writeProperties(bag)
// Qt's own events drive resize, show and paint. A control is also a
// late-bound automation object (Dispatch) with its type-info table.
namespace ui {

// A container that offers its controls an ambient font (the container's font
// object). A control asks its nearest ancestor that implements this.
class AmbientHost {
public:
    virtual ~AmbientHost();
    virtual automation::FontRef ambientFont() const = 0;
};

class UserControl : public QWidget, public automation::Dispatch {
    Q_OBJECT

public:
    explicit UserControl(QWidget* parent = nullptr);

    // Runs initProperties() for a control placed new on its host.
    void initNew();
    // Runs readProperties(); a failure passes to the host with its number.
    void load(const automation::PropertyBag& bag);
    // For a host that must go on when stored data cannot be read: runs
    // readProperties(), and when that fails, reads again with the keys before
    // the one that failed as stored and every later key at its default. The
    // first failure is returned, for the host to report; nothing is thrown.
    std::optional<automation::AutomationError> loadKeepingDefaults(const automation::PropertyBag& bag);
    // Runs writeProperties(); a failure passes to the host with its number.
    void save(automation::PropertyBag& bag);

    // The container's ambient font, fetched anew on each call. Without a
    // container that offers one, a font object made from the parent's font.
    automation::FontRef ambientFont() const;

signals:
    // Sent after every property write, naming the property: the host's
    // stored data is out of date.
    void propertyChanged(const QString& name);

protected:
    virtual void initProperties() {}
    virtual void readProperties(const automation::PropertyBag& bag) = 0;
    virtual void writeProperties(automation::PropertyBag& bag) = 0;

    void notifyPropertyChanged(const QString& name) { emit propertyChanged(name); }
};

} // namespace ui
