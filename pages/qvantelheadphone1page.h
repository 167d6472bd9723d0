#pragma once

#include "pages/qvantelheadphonepositionpage.h"

// Headphone page 1 (front-panel page 7): the mix of headphone 1 on outputs 2 and 3, with
// INPUT 1 as its side tone.
class QVantelHeadphone1Page : public QVantelHeadphonePositionPage
{
    Q_OBJECT

public:
    explicit QVantelHeadphone1Page(QWidget *parent = nullptr);
    ~QVantelHeadphone1Page() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphone1Page)
};
