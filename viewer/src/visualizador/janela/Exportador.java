package visualizador.janela;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.formatos.IntervaloPaginas;

/** Writes the report being previewed to a file of another format. */
@FunctionalInterface
public interface Exportador {
    /** Returns the file written: {@code destino}, or, for a table too long for .xls, that name as .xlsx. */
    Path exportar(Formato formato, Path destino) throws ErroRelatorio, IOException;

    /**
     * Only pages {@code paginas} of a PDF (null: all). One that cannot write part of a report
     * refuses a range rather than write the whole.
     */
    default Path exportar(Formato formato, Path destino, IntervaloPaginas paginas) throws ErroRelatorio, IOException {
        if (paginas != null) throw new ErroRelatorio("Não é possível gravar só algumas páginas aqui.");
        return exportar(formato, destino);
    }
}
