#pragma once

#include "pages/qvantelheadphonefollowpage.h"

// Headphone page 4 (front-panel page 10): the mix of headphone 4 on outputs 8 and 9, with
// INPUT 4 as its side tone.
class QVantelHeadphone4Page : public QVantelHeadphoneFollowPage
{
    Q_OBJECT

public:
    explicit QVantelHeadphone4Page(QWidget *parent = nullptr);
    ~QVantelHeadphone4Page() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphone4Page)
};
