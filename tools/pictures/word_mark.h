#pragma once

#include <QImage>
#include <QString>

namespace rq508::pictures {

// The maker's logo: its name as a word mark in blue italic letters on a pale cream background,
// fitted into width x height pixels.
QImage DrawWordMark(const QString& name, int width, int height);

}  // namespace rq508::pictures
