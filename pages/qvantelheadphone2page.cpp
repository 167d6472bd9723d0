#include "pages/qvantelheadphone2page.h"

QVantelHeadphone2Page::QVantelHeadphone2Page(QWidget *parent)
    : QVantelHeadphonePositionPage(1, parent)
{}

QVantelHeadphone2Page::~QVantelHeadphone2Page() = default;
