package visualizador.pagina;

import java.io.IOException;

/**
 * A format that writes the report as one table: {@code inicio}, each row in order (see
 * {@link TipoLinha}; a format leaves out the kinds it has no place for), then {@code fim} once the
 * last row is written. {@code close} always follows, also after a failure.
 */
public interface SaidaTabela extends AutoCloseable {
    void inicio(Tabela tabela, Cabecalho cabecalho) throws IOException;

    void linha(LinhaTabela linha) throws IOException;

    /** The table is complete: the output may be put in place. */
    void fim() throws IOException;

    /** Releases what the output holds; without {@code fim} before, leaves no file. */
    @Override
    void close() throws IOException;
}
