#include "pages/qvantelheadphone1page.h"

QVantelHeadphone1Page::QVantelHeadphone1Page(QWidget *parent)
    : QVantelHeadphonePositionPage(0, parent)
{}

QVantelHeadphone1Page::~QVantelHeadphone1Page() = default;
