#pragma once

#include "pages/qvantelheadphonepositionpage.h"

// Headphone page 2 (front-panel page 8): the mix of headphone 2 on outputs 4 and 5, with
// INPUT 2 as its side tone.
class QVantelHeadphone2Page : public QVantelHeadphonePositionPage
{
    Q_OBJECT

public:
    explicit QVantelHeadphone2Page(QWidget *parent = nullptr);
    ~QVantelHeadphone2Page() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphone2Page)
};
