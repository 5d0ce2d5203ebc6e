#pragma once
// What the lookup fields of one window share. A search started from one field holds BotaoAtivo
// while another field's exit may run, and the entry record made in one field is read when the
// next one is left; so the window owns one of these and hands it to each of its controllers.
#include "widgets/EventEdit.h"

#include <QPointer>
#include <QString>
#include <QStringList>

struct EstadoLookups {
    // The next entry into a code edit must be recorded.
    bool NaoPassouOnEnter = false;
    // The record of that entry: the code without leading zeros and the description texts.
    QString ConteudoDBEditAntLook;
    QStringList ConteudoEditDes;
    // The field (its first description edit) whose descriptions ConteudoEditDes holds. An entry
    // that follows a modal window (a search or an error box shown while the previous field was
    // left) comes with the window's activation and is not recorded, so the record may belong to
    // another field.
    QPointer<widgets::EventEdit> DonoDoRegistro;
    // A search window is being prepared or shown: validation does nothing meanwhile.
    bool BotaoAtivo = false;
};
