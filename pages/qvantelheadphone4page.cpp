#include "pages/qvantelheadphone4page.h"

QVantelHeadphone4Page::QVantelHeadphone4Page(QWidget *parent)
    : QVantelHeadphoneFollowPage(3, parent)
{}

QVantelHeadphone4Page::~QVantelHeadphone4Page() = default;
