#pragma once

#include <QString>
#include <QWidget>

namespace reversi {

// A picture the program carries (a raw-data resource), shown at its own size from the control's
// top-left corner and cut off at the control's edges; scaled with the window's layout where that
// is scaled, and drawn at the screen's resolution. It is decoded only while it is drawn, so a
// picture that is hidden takes no memory.
class ResourcePicture : public QWidget {
  public:
    explicit ResourcePicture(QWidget* parent);

    // Shows the picture of that name, or none for an empty name. Reads only the picture's
    // header; throws FileError when it is missing or no picture.
    void setPicture(const QString& name);
    const QString& picture() const { return name_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString name_;
};

}  // namespace reversi
