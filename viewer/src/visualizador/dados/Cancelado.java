package visualizador.dados;

import visualizador.ErroRelatorio;

/** The user cancelled a report while it ran. */
public class Cancelado extends ErroRelatorio {
    private static final long serialVersionUID = 1L;

    public Cancelado() {
        super("Relatório cancelado pelo usuário.");
    }
}
