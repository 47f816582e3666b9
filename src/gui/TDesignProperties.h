#pragma once
// The properties panel of the "Label Design" tab: the selected object's place, size, turn and what it
// draws, one named control per property (the rows a kind lacks are hidden). Every change goes to the
// design editor as one undo step; typing into a field is one step while the field keeps the focus.

#include "design/TDesignObject.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qbm {

class TDesignEditor;

class TDesignProperties : public QWidget {
    Q_OBJECT

public:
    explicit TDesignProperties(QWidget* parent = nullptr);
    void SetEditor(TDesignEditor* editor);

private:
    void Refresh();
    // Applies `change` to a copy of the current object and hands it to the editor.
    template <typename Change> void Edit(const char* property, bool typing, Change&& change);
    void AddRow(const QString& caption, QWidget* field);
    void ChooseColour(bool fill);
    void ChoosePicture();

    TDesignEditor* m_editor = nullptr;
    QFormLayout* m_form = nullptr;
    QLabel* m_kind = nullptr;
    QDoubleSpinBox* m_x = nullptr;
    QDoubleSpinBox* m_y = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QComboBox* m_rotation = nullptr;
    QLineEdit* m_value = nullptr;
    QFontComboBox* m_font = nullptr;
    QDoubleSpinBox* m_size = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QComboBox* m_align = nullptr;
    QCheckBox* m_shrink = nullptr;
    QPushButton* m_colour = nullptr;
    QComboBox* m_symbology = nullptr;
    QCheckBox* m_showText = nullptr;
    QPushButton* m_picture = nullptr;
    QDoubleSpinBox* m_line = nullptr;
    QCheckBox* m_filled = nullptr;
    QPushButton* m_fill = nullptr;
    QDoubleSpinBox* m_radius = nullptr;
    bool m_refreshing = false;
};

} // namespace qbm
