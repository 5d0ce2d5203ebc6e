#pragma once
// The program's own message window: notices and questions with a caption, icon and buttons
// chosen by the message kinds, returning the code of the button that closed it.
#include <QDialog>
#include <QString>
#include <QtGlobal>
#include <initializer_list>

class QEvent;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

enum TTipoMensagem {
    tmExclusao,
    tmGravacao,
    tmAdvertencia,
    tmInformacao,
    tmConfirmacao,
    tmResAC,
    tmResAEC,
    tmErro
};

// A set of message kinds in one byte: bit n stands for the kind of value n.
class TTipoMensagens {
public:
    constexpr TTipoMensagens() = default;
    constexpr TTipoMensagens(TTipoMensagem t) : fBits(bit(t)) {}
    constexpr TTipoMensagens(std::initializer_list<TTipoMensagem> tipos) {
        for (const TTipoMensagem t : tipos)
            fBits |= bit(t);
    }

    static constexpr TTipoMensagens fromBits(quint8 bits) {
        TTipoMensagens s;
        s.fBits = bits;
        return s;
    }
    constexpr quint8 bits() const { return fBits; }
    constexpr bool isEmpty() const { return fBits == 0; }
    constexpr bool contains(TTipoMensagem t) const { return (fBits & bit(t)) != 0; }

    constexpr TTipoMensagens operator+(TTipoMensagens outro) const { return fromBits(fBits | outro.fBits); }
    constexpr TTipoMensagens operator|(TTipoMensagens outro) const { return fromBits(fBits | outro.fBits); }
    constexpr TTipoMensagens& operator+=(TTipoMensagens outro) {
        fBits |= outro.fBits;
        return *this;
    }
    constexpr bool operator==(const TTipoMensagens&) const = default;

private:
    static constexpr quint8 bit(TTipoMensagem t) {
        return static_cast<quint8>(1u << static_cast<unsigned>(t));
    }
    quint8 fBits = 0;
};

inline constexpr TTipoMensagens Exclusao{tmExclusao};
inline constexpr TTipoMensagens Gravacao{tmGravacao};
inline constexpr TTipoMensagens Advertencia{tmAdvertencia};
inline constexpr TTipoMensagens Informacao{tmInformacao};
inline constexpr TTipoMensagens Confirmacao{tmConfirmacao};
inline constexpr TTipoMensagens ResAC{tmResAC};
inline constexpr TTipoMensagens ResAEC{tmResAEC};
inline constexpr TTipoMensagens Erro{tmErro};

// The answer of the message window: the code of the button that closed it. Any other way out
// (Esc, the close box) is rmCancelar.
enum TResultadoModal : int { rmOk = 1, rmCancelar = 2, rmSim = 6, rmNao = 7 };

class TFormMens : public QDialog {
    Q_OBJECT
public:
    // Top-level on purpose: the window gets its own task-bar entry.
    TFormMens();
    ~TFormMens() override;

    QLabel* ImgExc;
    QLabel* ImgGrav;
    QLabel* ImgAdv;
    QLabel* ImgInfo;
    QLabel* ImgConf;
    QLabel* ImgResAEC;
    QPushButton* bbSim;
    QPushButton* bbNao;
    QPushButton* bbCancel;
    QPushButton* bbOk;
    QPlainTextEdit* Memo1;
    QTimer* Timer1;

    // Puts the text into the window and lays out icons, buttons and caption for the kinds.
    void preparar(const QString& Texto, TTipoMensagens TipoMensagem);

    // The button that takes the focus when the window is shown (none for errors and the empty set).
    QPushButton* BotaoFoco() const { return botaoFoco; }

    // Lines of the text as the text box lays them out, wrapped lines included; a final empty
    // line (the text ends with a line break) does not count.
    int linhasDoTexto() const;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool trataTecla(QKeyEvent* event);
    void Timer1Timer();

    QPushButton* botaoFoco = nullptr;
};

// The current message window while one is shown, otherwise nullptr.
extern TFormMens* FormMens;

// Shows Texto modally with the look chosen by TipoMensagem; returns a TResultadoModal.
int Mensagem(const QString& Texto, TTipoMensagens TipoMensagem);
