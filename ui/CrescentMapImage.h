// The picture of the crescent's map: the world from 60 degrees South to 60 North, each
// cell in the colour of its zone, the coastlines, an Arabic title and legend.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "crescent/CrescentMap.h"

namespace zerin::ui {

inline constexpr const char* kCoastlineFileName = "coastlines-110m.txt";

// The outline of the land: rings of (East longitude, latitude) in degrees.
struct Coastlines {
    std::vector<std::vector<QPointF>> rings;
};

// Reads the coastlines from the first folder that holds the file; false, with a message
// naming the places looked at, when none can be read or the file holds no ring.
bool LoadCoastlines(const QStringList& folders, Coastlines& coastlines, QString& error);

// The colour of a cell's letter (a zone, or nothing to see).
QColor CellColour(Criterion criterion, char letter);

// A place marked on the map, with its name beside it.
struct MapMark {
    double eastLongitude = 0, latitude = 0;
    QString name;
};

// The map drawn at `scale` pixels a degree, with its title and legend (and a place marked).
QImage CrescentMapImage(const CrescentMapGrid& grid, Criterion criterion,
                        const Coastlines& coastlines, int scale = 4, const MapMark* mark = nullptr);

// zerin crescent-map: computes the grid, draws it and writes the PNG file; returns the
// exit status (0, or 1 when the file cannot be written), with message set to what went
// wrong (or a warning, such as coastlines that could not be read).
int WriteCrescentMap(const CrescentMapRequest& request, std::string& message);

}  // namespace zerin::ui
