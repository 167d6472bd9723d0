#include "pages/qvantelheadphone3page.h"

QVantelHeadphone3Page::QVantelHeadphone3Page(QWidget *parent)
    : QVantelHeadphoneFollowPage(2, parent)
{}

QVantelHeadphone3Page::~QVantelHeadphone3Page() = default;
