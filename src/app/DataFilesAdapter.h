#pragma once

#include "app/DataFilesPort.h"
#include "data/DataFilesController.h"

#include <QPointer>

class QWidget;

namespace sonvex {

class Tdm;
class TformSonvex3Main;

// Binds the data-files controller to the main window: the window's open and
// shut-down commands reach the controller, the controller's dialogs and
// questions appear as message boxes and the folder chooser, and the window's
// state (current file, data-file lines, data folder) follows the controller.
class DataFilesAdapter : public DataFilesPort
{
    Q_OBJECT
public:
    DataFilesAdapter(Tdm& dm, TformSonvex3Main* window, QObject* parent = nullptr);

    DataFilesController& controller() { return m_files; }

    void openDataFile(const QString& fileName, int filterIndex) override;
    int dataKind() const override { return m_files.dataKind(); }
    DataSet* table(int kind) const override;
    void saveOnShutDown() override;

private:
    void syncWindow();

    Tdm& m_dm;
    QPointer<TformSonvex3Main> m_window;
    DataFilesController m_files;
};

} // namespace sonvex
