#pragma once

#include <QFont>
#include <QPixmap>

#include "settings/ConversionSettings.h"

namespace tolvane {

// The small picture beside a caption-less layout button: the sample 输出格式 with its readings
// shu chu ge shi, laid out as `format` lays out a line (reading line above or below the
// characters, or readings in brackets after or before each character), drawn onto `background`
// (what lies under the picture, so that the text blends as the captions around it do; text
// drawn onto a transparent picture comes out heavier). Drawn at start-up rather than shipped as
// image files, so the pictures follow the font the system provides.
QPixmap LayoutPicture(OutputFormat format, QPixmap background, const QFont& font);

}  // namespace tolvane
