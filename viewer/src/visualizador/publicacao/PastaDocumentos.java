package visualizador.publicacao;

import java.nio.file.Path;
import visualizador.dados.Ambiente;

/** The folder reports go to, for the windows that let the user pick another name there. */
public final class PastaDocumentos {
    private PastaDocumentos() {}

    public static Path de(Ambiente ambiente) {
        return AreaTrabalho.de(ambiente).pastaDocumentos();
    }
}
