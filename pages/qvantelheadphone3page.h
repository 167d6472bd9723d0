#pragma once

#include "pages/qvantelheadphonefollowpage.h"

// Headphone page 3 (front-panel page 9): the mix of headphone 3 on outputs 6 and 7, with
// INPUT 3 as its side tone.
class QVantelHeadphone3Page : public QVantelHeadphoneFollowPage
{
    Q_OBJECT

public:
    explicit QVantelHeadphone3Page(QWidget *parent = nullptr);
    ~QVantelHeadphone3Page() override;
    Q_DISABLE_COPY_MOVE(QVantelHeadphone3Page)
};
