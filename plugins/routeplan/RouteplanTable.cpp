// The window's list: four groups of rows (points, point acceleration and
// deceleration, homing, auxiliary), their colours, labels and editable
// cells, filled from and parsed back into the plug-in's values.
#include "CListCtrlEx.h"
#include "RouteplanApp.h"
#include "RouteplanStrings.h"
#include "RouteplanView.h"
#include "SectionFile.h"

#include <QHeaderView>

namespace routeplan {
namespace {

constexpr int kRows = 43;
constexpr int kFirstPointRow = 1;
constexpr int kDiOriginRow = 32;
constexpr const char* kInactive = "-----";

struct GroupTitle {
    int row;
    unsigned text;
    QColor colour;
};
const GroupTitle kGroupTitles[] = {
    {0, kStrGroupPoints, QColor(255, 204, 0)},
    {18, kStrGroupPoints + 1, QColor(153, 204, 255)},
    {22, kStrGroupPoints + 2, QColor(255, 204, 153)},
    {35, kStrGroupPoints + 3, QColor(128, 255, 0)},
};

// The rows with one value in the value column.
struct ValueRow {
    int row;
    unsigned label;
    std::int32_t RouteplanValues::*field;
};
using V = RouteplanValues;
const ValueRow kValueRows[] = {
    {19, kStrRowAcc, &V::pointAcc},
    {20, kStrRowAcc + 1, &V::pointDec},
    {23, kStrRowHoming, &V::homingMode},
    {24, kStrRowHoming + 1, &V::homingOffset},
    {25, kStrRowHoming + 2, &V::homingSpeed},
    {26, kStrRowHoming + 3, &V::creepSpeed},
    {27, kStrRowHoming + 4, &V::homingAcc},
    {28, kStrRowHoming + 5, &V::homingDec},
    {29, kStrRowHoming + 6, &V::bumpTorque},
    {30, kStrRowHoming + 7, &V::bumpTime},
    {31, kStrRowHoming + 8, &V::offsetSkipGear},
    {kDiOriginRow, kStrRowHoming + 9, &V::diOriginType},
    {33, kStrRowHoming + 10, &V::diCombineDelay},
    {36, kStrRowAux, &V::jogSpeed},
    {37, kStrRowAux + 1, &V::jogAcc},
    {38, kStrRowAux + 2, &V::jogDec},
    {39, kStrRowAux + 3, &V::onPosDelay},
    {40, kStrRowAux + 4, &V::softLimitPos},
    {41, kStrRowAux + 5, &V::softLimitNeg},
};

QString Number(std::int32_t value) {
    return QString::number(value);
}

int Parse(const CListCtrlEx& list, int row, int column) {
    return knobset::ParseLeadingInt(list.GetItemText(row, column).toStdString());
}

} // namespace

void CRouteplanView::BuildList() {
    list_->InsertColumn(0, "", Qt::AlignLeft, 240);
    list_->InsertColumn(1, "", Qt::AlignRight, 130);
    list_->InsertColumn(2, "", Qt::AlignRight, 100);
    list_->InsertColumn(3, "", Qt::AlignLeft, 170);
    for (int row = 0; row < kRows; ++row)
        list_->InsertItem(row, "");
    for (const GroupTitle& title : kGroupTitles)
        list_->SetRowColor(title.row, Qt::black, title.colour);
    for (int p = 1; p <= kPoints; ++p) {
        list_->SetItemText(kFirstPointRow + p - 1, 0, QString("%1").arg(p, 8));
        for (int column = 1; column <= 3; ++column)
            list_->AddEditableCell(kFirstPointRow + p - 1, column);
    }
    for (const ValueRow& r : kValueRows)
        list_->AddEditableCell(r.row, 1);
    if (!app_.jobs->values.diOrigin)
        list_->AddLockedCell(kDiOriginRow, 1);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
}

void CRouteplanView::LabelList() {
    for (int column = 0; column < 3; ++column)
        list_->horizontalHeaderItem(column + 1)
            ->setText(QString::fromStdString(Text(kStrColumnPosition + column)));
    for (const GroupTitle& title : kGroupTitles)
        list_->SetItemText(title.row, 0, QString::fromStdString(Text(title.text)));
    for (const ValueRow& r : kValueRows)
        list_->SetItemText(r.row, 0, QString::fromStdString(Text(r.label)));
}

void CRouteplanView::FillList() {
    const RouteplanValues& v = app_.jobs->values;
    for (int p = 0; p < kPoints; ++p) {
        list_->SetItemText(kFirstPointRow + p, 1, Number(v.points[p].position));
        list_->SetItemText(kFirstPointRow + p, 2, Number(v.points[p].speed));
        list_->SetItemText(kFirstPointRow + p, 3, QString::fromStdString(v.points[p].description));
    }
    for (const ValueRow& r : kValueRows)
        list_->SetItemText(r.row, 1, Number(v.*r.field));
    if (!v.diOrigin)
        list_->SetItemText(kDiOriginRow, 1, kInactive);
}

void CRouteplanView::ParseList() {
    RouteplanValues& v = app_.jobs->values;
    for (int p = 0; p < kPoints; ++p) {
        v.points[p].position = Parse(*list_, kFirstPointRow + p, 1);
        v.points[p].speed = Parse(*list_, kFirstPointRow + p, 2);
        v.points[p].description = list_->GetItemText(kFirstPointRow + p, 3).toStdString();
    }
    for (const ValueRow& r : kValueRows)
        if (r.row != kDiOriginRow || v.diOrigin)
            v.*r.field = Parse(*list_, r.row, 1);
}

} // namespace routeplan
