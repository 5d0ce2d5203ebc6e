package visualizador;

/** A failure the user can act on: its message is shown as it stands, never a stack trace. */
public class ErroRelatorio extends Exception {
    private static final long serialVersionUID = 1L;

    public ErroRelatorio(String mensagem) {
        super(mensagem);
    }

    public ErroRelatorio(String mensagem, Throwable causa) {
        super(mensagem, causa);
    }
}
